#include "admin/AdminMain.h"
#include "server/PgEngine.h"

int main(int argc, char** argv) {
    // A DatabasePath holding a connection URI opens the database server.
    orvan::server::RegisterEngine();
    return orvan::admin::Main(argc, argv);
}

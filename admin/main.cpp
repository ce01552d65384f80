#include "admin/AdminMain.h"

int main(int argc, char** argv) {
    return orvan::admin::Main(argc, argv);
}

#pragma once

namespace orvan::admin {
class FController;
} // namespace orvan::admin

namespace orvan::bench {

// Starts the manager's program on the current program folder and answers its
// login as the administrator from inside the modal run; the main window, or
// null when the start failed.
admin::FController* StartLoggedIn();

} // namespace orvan::bench

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "collision_app.h"
#include "graphical_session.h"
#include "model/standard_streams.h"

int main(int argc, char** argv) {
    if (!morvane::EnsureStandardStreamsOpen()) {
        return EXIT_FAILURE;
    }
    if (!morvane::ui::HasGraphicalSession()) {
        std::fputs(morvane::ui::kNoGraphicalSessionMessage, stderr);
        return EXIT_FAILURE;
    }
    // The command line is not the program's to read: only the program's own
    // name goes to the toolkit, so no argument can change the window.
    int toolkitArgc = argc > 0 ? 1 : 0;
    std::optional<morvane::ui::CCollisionApp> app;
    {
        morvane::ui::DisplayFailureGuard guard;
        app.emplace(toolkitArgc, argv);
    }
    return app->InitInstance() ? morvane::ui::CCollisionApp::exec() : EXIT_SUCCESS;
}

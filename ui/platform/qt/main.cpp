#include <cstdio>
#include <cstdlib>
#include <optional>

#include "collision_app.h"
#include "graphical_session.h"
#include "startup/standard_streams.h"

int main(int argc, char** argv) {
    if (!morvane::EnsureStandardStreamsOpen()) {
        return EXIT_FAILURE;
    }
    if (!morvane::ui::HasGraphicalSession(argc, argv)) {
        std::fputs(morvane::ui::kNoGraphicalSessionMessage, stderr);
        return EXIT_FAILURE;
    }
    // The toolkit takes the whole command line and removes its own options
    // (-style, -platform...); what it leaves are the models to open.
    std::optional<morvane::ui::CCollisionApp> app;
    {
        morvane::ui::DisplayFailureGuard guard;
        app.emplace(argc, argv);
    }
    return app->InitInstance() ? morvane::ui::CCollisionApp::exec() : EXIT_SUCCESS;
}

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "collision_app.h"
#include "graphical_session.h"
#include "startup/standard_streams.h"
#include "window_arguments.h"

int main(int argc, char** argv) {
    namespace ui = morvane::ui;
    if (!morvane::EnsureStandardStreamsOpen()) {
        return EXIT_FAILURE;
    }
    // Answered without a display, as from a terminal.
    const ui::WindowRequest request = ui::ReadWindowArguments(ui::CommandLineWords(argc, argv));
    if (request.kind != ui::WindowRequest::Kind::OpenWindow) {
        ui::TellWithoutWindow(ui::TextWithoutWindow(request),
                              request.kind == ui::WindowRequest::Kind::UsageError);
        return ui::ExitStatusWithoutWindow(request);
    }
    if (!ui::HasGraphicalSession(argc, argv)) {
        std::fputs(ui::kNoGraphicalSessionMessage, stderr);
        return EXIT_FAILURE;
    }
    // The toolkit takes the whole command line and removes its own options.
    std::optional<ui::CCollisionApp> app;
    {
        ui::DisplayFailureGuard guard;
        app.emplace(argc, argv, request.models);
    }
    return app->InitInstance() ? ui::CCollisionApp::exec() : EXIT_SUCCESS;
}

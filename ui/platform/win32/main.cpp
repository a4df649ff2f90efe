#include <cstdlib>

#include "collision_app.h"
#include "startup/standard_streams.h"
#include "window_arguments.h"

// Started from Explorer the window has no standard output, and the trace goes
// nowhere; started with its output redirected, the trace goes there.
int main(int argc, char** argv) {
    namespace ui = morvane::ui;
    if (!morvane::EnsureStandardStreamsOpen()) {
        return EXIT_FAILURE;
    }
    const ui::WindowRequest request = ui::ReadWindowArguments(ui::CommandLineWords(argc, argv));
    if (request.kind != ui::WindowRequest::Kind::OpenWindow) {
        ui::TellWithoutWindow(ui::TextWithoutWindow(request),
                              request.kind == ui::WindowRequest::Kind::UsageError);
        return ui::ExitStatusWithoutWindow(request);
    }
    ui::CCollisionApp app(argc, argv, request.models);
    app.InitInstance();
    return EXIT_SUCCESS;
}

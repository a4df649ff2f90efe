// A person's save in the window, in a process of its own, so that a test can
// meet it from outside at a chosen system call: opens the window with MODEL
// chosen, presses "Save ZRM..." and names OUTPUT. Exits 0 once the save is
// over without a word from the window, as a save that worked.
#include <cstdio>

#include "qt_window_driver.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: save_in_window MODEL OUTPUT\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    morvane::ui::scenarios::QtWindowDriver user;
    user.Open({std::filesystem::path(argv[1])});
    user.chooserAnswers = {std::filesystem::path(argv[2])};
    user.Click(IDC_SAVE);
    return user.said.empty() ? 0 : 1;
}

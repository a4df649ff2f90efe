#include "collision_dlg.h"

#include <optional>
#include <system_error>
#include <utility>

#include "about_dlg.h"
#include "model/errors.h"
#include "model/files/model_file.h"
#include "model/files/path_text.h"
#include "model/format.h"
#include "plain_words.h"
#include "platform/data_exchange.h"
#include "platform/translation.h"
#include "resources/dialog_templates.h"
#include "resources/resource.h"

namespace morvane::ui {
namespace {

// The window system keeps a command's low four bits for itself.
bool IsAboutCommand(int commandId) {
    return (commandId & 0xFFF0) == IDM_ABOUTBOX;
}

bool IsHelpCommand(int commandId) {
    return (commandId & 0xFFF0) == (ID_HELP & 0xFFF0);
}

std::filesystem::path ExistingFolder(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(SystemPath(folder), error) ? folder
                                                                    : std::filesystem::path();
}

// Only one file that can be read as a model is taken; several files or a
// folder are turned away.
std::optional<std::filesystem::path> DroppedModel(const std::vector<std::filesystem::path>& files) {
    if (files.size() != 1) {
        return std::nullopt;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(SystemPath(files.front()), error)) {
        return std::nullopt;
    }
    return files.front();
}

// Why a path named on the command line cannot be chosen as the model, in the
// words a save would use; opening it neither waits on a pipe nor reads it.
std::optional<PlainMessage> WhyNotAModelFile(const std::filesystem::path& path) {
    try {
        ModelFile{path};
    } catch (const FileError& refusal) {
        return PlainMessageFor(refusal);
    }
    return std::nullopt;
}

std::string NotOpenedText(const std::vector<std::filesystem::path>& others) {
    std::string text =
        Tr("MainWindow", "morvane works on one model at a time. These were not opened:");
    for (const std::filesystem::path& other : others) {
        text += "\n'" + DisplayText(other) + "'";
    }
    return text;
}

std::string TooLateToCancelText(const std::filesystem::path& output) {
    return Substitute(
        Tr("MainWindow", "It was too late to cancel: the model has been written to '%1'."),
        {DisplayText(output)});
}

std::string SecondBlockQuestion(const std::filesystem::path& input, const CarriedBlock& block) {
    return Substitute(Tr("MainWindow",
                         "'%1' already carries a block of %2 collision volumes: it has been "
                         "rewritten before.\n\nSaving it adds a second block to every PRIM "
                         "chunk. Save anyway?"),
                      {DisplayText(input), std::to_string(block.volumes)});
}

// Clears the running save however RewriteInto is left.
class RunningSave {
public:
    RunningSave(BackgroundRewrite*& running, BackgroundRewrite& save) : m_running(running) {
        m_running = &save;
    }
    ~RunningSave() { m_running = nullptr; }
    RunningSave(const RunningSave&) = delete;
    RunningSave& operator=(const RunningSave&) = delete;

private:
    BackgroundRewrite*& m_running;
};

}  // namespace

CCollisionDlg::CCollisionDlg(FileChooser& chooser, UserGuide& guide, Settings& settings,
                             CDialog* parent)
    : CDialog(IDD_MAIN, parent),
      m_hIcon(LoadIcon(IDR_MAINFRAME)),
      m_chooser(chooser),
      m_guide(guide),
      m_settings(settings) {
    DragAcceptFiles();
}

void CCollisionDlg::ChooseOnStart(std::vector<std::filesystem::path> models) {
    m_startingModels = std::move(models);
}

bool CCollisionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddWindowMenuItems();
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);
    m_InputPath.clear();
    m_Volumes = 1;
    UpdateData(false);
    TakeStartingModels();
    return true;
}

// The window is not on the screen yet; the message boxes wait until it is, so
// that they open over it. The models are named from the folder the program
// started in, which a chooser may change.
void CCollisionDlg::TakeStartingModels() {
    if (m_startingModels.empty()) {
        return;
    }
    std::vector<std::filesystem::path> models = std::exchange(m_startingModels, {});
    for (std::filesystem::path& model : models) {
        model = AbsolutePath(model);
    }
    const std::optional<PlainMessage> problem = WhyNotAModelFile(models.front());
    if (!problem) {
        ChooseModel(models.front());
    }
    const std::vector<std::filesystem::path> others(models.begin() + 1, models.end());
    PostCall([this, problem, others] {
        if (problem) {
            ShowProblem(*problem);
        }
        if (!others.empty()) {
            ShowMessage(MessageKind::Note, NotOpenedText(others));
        }
    });
}

// The menu ends, as it always has, with a separator and About.
void CCollisionDlg::AddWindowMenuItems() {
    CMenu* menu = GetSystemMenu();
    if (menu == nullptr) {
        return;
    }
    menu->AppendMenu(MF_STRING, ID_HELP, Tr("WindowMenu", "Help"));
    const std::string_view about = res::LoadStringResource(IDS_ABOUTBOX);
    if (!about.empty()) {
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, Tr("WindowMenu", about));
    }
}

void CCollisionDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, IDC_FILENAME, m_FileEdit);
    DDX_Text(dx, IDC_VOLUMES, m_Volumes);
    DDV_MinMaxInt(dx, m_Volumes, zrm::kMinVolumes, zrm::kMaxVolumes);
}

// While a save runs, the commands that would start another piece of work are
// not taken; those that end the window stop the save instead (OnOK, OnCancel),
// and help, which starts no work, is given.
void CCollisionDlg::OnCommand(int id) {
    const bool startsWork = id == IDC_CHOOSE || id == IDC_SAVE;
    if (startsWork && m_runningSave != nullptr) {
        return;
    }
    if (id == ID_HELP) {
        m_guide.OnHelp(*this);
    } else if (id == IDC_CHOOSE) {
        OnChooseFile();
    } else if (id == IDC_SAVE) {
        OnSaveFile();
    } else {
        CDialog::OnCommand(id);
    }
}

void CCollisionDlg::OnOK() {
    if (!CancelRunningSave()) {
        CDialog::OnOK();
    }
}

// Escape and the window's close command arrive here too; during a save they
// must not take the window away from under the running worker.
void CCollisionDlg::OnCancel() {
    if (!CancelRunningSave()) {
        CDialog::OnCancel();
    }
}

bool CCollisionDlg::CancelRunningSave() {
    if (m_runningSave == nullptr) {
        return false;
    }
    m_runningSave->Cancel();
    return true;
}

void CCollisionDlg::OnSysCommand(int commandId) {
    if (IsHelpCommand(commandId)) {
        OnCommand(ID_HELP);
    } else if (IsAboutCommand(commandId)) {
        if (m_runningSave == nullptr) {
            CAboutDlg about(this);
            about.DoModal();
        }
    } else {
        CDialog::OnSysCommand(commandId);
    }
}

void CCollisionDlg::OnChooseFile() {
    const std::optional<std::filesystem::path> chosen =
        m_chooser.Choose({Tr("MainWindow", "Choose ZRM file to load"),
                          ChooserRequest::Accepts::ExistingFile, FolderToChooseFrom()});
    if (chosen) {
        ChooseModel(*chosen);
    }
}

// Where a model was last chosen, in this run or an earlier one, while that
// folder is still there.
std::filesystem::path CCollisionDlg::FolderToChooseFrom() const {
    return ExistingFolder(m_settings.LastModelFolder());
}

// However long the path, the field shows the file's name at its end, and the
// whole path where the pointer rests on it.
void CCollisionDlg::ChooseModel(const std::filesystem::path& input) {
    m_InputPath = input;
    const std::string chosen = ChosenModelText(m_InputPath);
    m_FileEdit.SetWindowText(chosen);
    m_FileEdit.ShowEnd();
    m_FileEdit.SetToolTip(chosen);
    m_settings.KeepLastModelFolder(m_InputPath.parent_path());
    UpdateData(false);
}

// The model is opened and looked at before the output name is asked for, so
// that no one picks a name for a save they would not want; the save then
// rewrites the very file that was looked at. One that cannot be opened is
// reported where its rewrite would have reported it.
void CCollisionDlg::OnSaveFile() {
    if (m_InputPath.empty()) {
        ShowMessage(MessageKind::Error,
                    Tr("MainWindow", "Choose a ZRM model to read first (step 1)."));
        return;
    }
    RewriteSession session(m_InputPath);
    if (!AgreesToASecondBlock(session)) {
        return;
    }
    const std::optional<std::filesystem::path> output = m_chooser.Choose(
        {Tr("MainWindow", "Choose ZRM name to save as"),
         ChooserRequest::Accepts::NameInExistingFolder, m_InputPath.parent_path()});
    if (!output || !UpdateData(true)) {
        return;
    }
    if (session.settled()) {
        ShowProblem(PlainMessageFor(session.outcome()));
        return;
    }
    RewriteInto(session, *output);
}

// A model that was never rewritten is saved without a question. Not saving is
// the answer Enter and Escape give.
bool CCollisionDlg::AgreesToASecondBlock(const RewriteSession& session) {
    const std::optional<CarriedBlock>& block = session.blockFound();
    return !block || AskYesNo(SecondBlockQuestion(m_InputPath, *block));
}

// A successful rewrite says nothing here, and neither does one the user
// cancelled; the trace goes to standard output. A cancel that came too late
// to keep the output as it was must not look like one that did.
void CCollisionDlg::RewriteInto(RewriteSession& session, const std::filesystem::path& output) {
    BackgroundRewrite rewrite(*this);
    const RunningSave running(m_runningSave, rewrite);
    const RewriteOutcome& outcome = rewrite.Run(session, output, m_Volumes);
    switch (outcome.status) {
        case RewriteOutcome::Status::Written:
            if (rewrite.CancelAsked()) {
                ShowMessage(MessageKind::Note, TooLateToCancelText(output));
            }
            break;
        case RewriteOutcome::Status::Refused:
        case RewriteOutcome::Status::Failed:
            ShowProblem(PlainMessageFor(outcome));
            break;
        case RewriteOutcome::Status::WouldWrite:
        case RewriteOutcome::Status::LeftOut:
        case RewriteOutcome::Status::Cancelled:
            break;
    }
}

void CCollisionDlg::ShowProblem(const PlainMessage& problem) {
    ShowMessage(MessageKind::Error, problem.text, problem.details);
}

void CCollisionDlg::OnPaint() {
    if (IsIconic()) {
        PaintIconCentred(m_hIcon);
    } else {
        CDialog::OnPaint();
    }
}

bool CCollisionDlg::CanDropFiles(const std::vector<std::filesystem::path>& files) const {
    return m_runningSave == nullptr && DroppedModel(files).has_value();
}

void CCollisionDlg::OnDropFiles(const std::vector<std::filesystem::path>& files) {
    if (CanDropFiles(files)) {
        ChooseModel(*DroppedModel(files));
    }
}

std::string ChosenModelText(const std::filesystem::path& input) {
    return Substitute(Tr("MainWindow", "ZRM chosen: '%1'"), {DisplayText(input)});
}

}  // namespace morvane::ui

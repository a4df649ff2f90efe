#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "background_rewrite.h"
#include "file_chooser.h"
#include "model/files/rewrite_session.h"
#include "platform/dialog.h"
#include "platform/edit_control.h"
#include "platform/icons.h"
#include "settings.h"
#include "user_guide.h"

namespace morvane::ui {

struct PlainMessage;

// The whole of the program's window: 1) choose a model, 2) type how many
// collision volumes it is to carry, 3) choose the name to write it to.
class CCollisionDlg : public CDialog {
public:
    // The chooser asks for files, the guide is the application's help, and
    // the settings keep where models were chosen.
    CCollisionDlg(FileChooser& chooser, UserGuide& guide, Settings& settings,
                  CDialog* parent = nullptr);

    // The models named on the command line. Once the window shows, the first
    // is chosen as "Choose ZRM..." would choose it; why it cannot be, and
    // which others were not opened, is said in message boxes.
    void ChooseOnStart(std::vector<std::filesystem::path> models);

    void OnSysCommand(int commandId) override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnCommand(int id) override;
    void OnOK() override;
    void OnCancel() override;
    void OnPaint() override;
    bool CanDropFiles(const std::vector<std::filesystem::path>& files) const override;
    void OnDropFiles(const std::vector<std::filesystem::path>& files) override;

private:
    void AddWindowMenuItems();
    void TakeStartingModels();
    void OnChooseFile();
    void ChooseModel(const std::filesystem::path& input);
    std::filesystem::path FolderToChooseFrom() const;
    void OnSaveFile();
    bool AgreesToASecondBlock(const RewriteSession& session);
    void RewriteInto(RewriteSession& session, const std::filesystem::path& output);
    bool CancelRunningSave();
    void ShowProblem(const PlainMessage& problem);

    CEdit m_FileEdit;
    int m_Volumes = 1;
    std::filesystem::path m_InputPath;
    CIcon m_hIcon;
    FileChooser& m_chooser;
    UserGuide& m_guide;
    Settings& m_settings;
    BackgroundRewrite* m_runningSave = nullptr;
    std::vector<std::filesystem::path> m_startingModels;
};

// The text of the read-only field once a model has been chosen.
std::string ChosenModelText(const std::filesystem::path& input);

}  // namespace morvane::ui

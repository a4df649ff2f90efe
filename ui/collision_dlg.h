#pragma once

#include <QIcon>
#include <filesystem>
#include <vector>

#include "background_rewrite.h"
#include "file_chooser.h"
#include "platform/dialog.h"
#include "platform/edit_control.h"

namespace morvane::ui {

// The whole of the program's window: 1) choose a model, 2) type how many
// collision volumes it is to carry, 3) choose the name to write it to.
class CCollisionDlg : public CDialog {
public:
    explicit CCollisionDlg(FileChooser& chooser, QWidget* parent = nullptr);
    CCollisionDlg(FileChooser& chooser, ModelRewriter rewriter, QWidget* parent = nullptr);

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
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void AddAboutItem();
    void AcceptFileDrops();
    void TakeStartingModels();
    void OnChooseFile();
    void ChooseModel(const std::filesystem::path& input);
    void OnSaveFile();
    bool AgreesToASecondBlock();
    void RewriteInto(const std::filesystem::path& output);
    bool CancelRunningSave();
    void AnswerDrag(QDropEvent& event) const;
    void ShowError(const QString& message);
    void ShowNote(const QString& message);
    void PaintMinimised();

    CEdit m_FileEdit;
    int m_Volumes = 1;
    std::filesystem::path m_InputPath;
    QIcon m_hIcon;
    FileChooser& m_chooser;
    ModelRewriter m_rewriter;
    BackgroundRewrite* m_runningSave = nullptr;
    std::vector<std::filesystem::path> m_startingModels;
};

// The text of the read-only field once a model has been chosen.
QString ChosenModelText(const std::filesystem::path& input);

}  // namespace morvane::ui

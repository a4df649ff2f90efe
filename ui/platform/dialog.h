#pragma once

// A dialog built at run time from a template in the resources. Each rendering
// declares CDialog and CMenu in its own native_dialog.h, which the build puts
// on the include path; all of them offer what the dialogs below use, so that
// the dialogs are one source on every platform:
//
//   CDialog(int templateId, CDialog* parent)
//   int DoModal()                         shows it and waits until it closes
//   bool UpdateData(bool saveAndValidate) runs DoDataExchange
//   CMenu* GetSystemMenu()                the window's own menu, or null
//   void SetIcon(const CIcon&, bool big)
//   void DragAcceptFiles()                files dropped anywhere on the window
//                                         are offered to CanDropFiles/OnDropFiles
//   void ShowMessage(MessageKind, text)   a modal box over the window
//   bool AskYesNo(text)                   a warning; No is the default and Escape
//   void PostCall(function)               runs it once the current message is done
//   bool IsIconic(), void PaintIconCentred(const CIcon&)
//   std::string GetDlgItemText(id), void SetDlgItemText(id, text),
//   void GotoDlgCtrl(id)                  focus on a field, its text selected
//   virtual OnInitDialog, DoDataExchange, OnCommand, OnOK, OnCancel,
//           OnSysCommand, OnPaint, CanDropFiles, OnDropFiles
#include "native_dialog.h"

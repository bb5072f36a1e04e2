// The lists' own context menus and the file dialogs on Qt Widgets.
#pragma once

#include <string>

#include "toolkit/toolkit.h"

class QPlainTextEdit;
class QWidget;

namespace tk::qt {

// The list's own menu replaces the widget's: on a right click, the menu key
// and Shift+F10.
void InstallListMenu(ListControl& list, QPlainTextEdit* widget);
// Runs a menu at the pointer (mouse) or below the caret (keyboard).
int RunPopupMenu(QWidget* owner, const MenuItems& items, MenuReason reason);
// QFileDialog, starting in the documents folder.
std::string RunFileDialog(QWidget* parent, const FileRequest& request);

}  // namespace tk::qt

// The lists' own context menus and the file dialogs on Win32.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/toolkit.h"

namespace tk::win32 {

// Where the menu that is being asked for opens: the pointer of a right click
// (screen coordinates), or nothing for the keyboard (below the caret).
void SetMenuPoint(LPARAM contextMenuPoint);
// Runs a popup menu for the control; the chosen item's index or -1.
int RunPopupMenu(HWND owner, HWND control, const MenuItems& items, MenuReason reason);
// GetSaveFileNameW / GetOpenFileNameW, starting in the request's folder, or
// else the documents folder.
std::string RunFileDialog(HWND owner, const FileRequest& request);
// Ctrl+Z and Ctrl+Y on a list run its menu's 撤销 and 恢复, and the
// characters those keys make are dropped. True when the message is taken.
bool ListShortcut(ListControl& list, UINT msg, WPARAM w);

}  // namespace tk::win32

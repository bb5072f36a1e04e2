// The context menus of the two lists: one list of items for both, and the
// actions behind them. The bet list and the deletion list share every body.
#include "app/main3d.h"
#include "numbers/numbers.h"

void TForm1::WireListMenus() {
  for (tk::ListControl* list : {&mmoList, &mmoDel}) {
    list->OnContextMenu = [this](tk::ListControl& l) { return ListMenu(l); };
  }
}

numbers::CountedList TForm1::CountedOf(const tk::Control& list) {
  return &list == &mmoList ? Bets() : Deletions();
}

tk::MenuItems TForm1::ListMenu(tk::ListControl& list) {
  using Handler = void (TForm1::*)(tk::Control&);
  auto item = [&](const char* text, const char* shortcut, bool enabled, Handler h) {
    return tk::MenuItem{text, shortcut, enabled, [this, &list, h] { (this->*h)(list); }};
  };
  tk::MenuItems items = {
      item("复制(&C)", "Ctrl+C", list.SelectionLength() > 0, &TForm1::mniCopyClick),
      item("全选(&A)", "Ctrl+A", list.LineCount() > 0, &TForm1::mniSelectAllClick),
      tk::MenuItem{},
      item("保存为文本文件(&S)…", "", list.LineCount() > 0, &TForm1::mniSaveClick),
      item("从文本文件载入(&O)…", "", true, &TForm1::mniLoadClick),
      tk::MenuItem{},
      item("开奖号码与走势(&T)…", "", true, &TForm1::mniDrawsClick),
  };
  if (&list == &mmoList) {
    // Always enabled: on an empty list they say why they cannot act.
    items.push_back(tk::MenuItem{});
    items.push_back(item("条件过滤(&F)…", "", true, &TForm1::mniFilterClick));
    items.push_back(item("转为组选号码(&G)", "", true, &TForm1::mniGroupClick));
    items.push_back(item("组选展开为直选(&Z)", "", true, &TForm1::mniExpandClick));
  }
  return items;
}

void TForm1::mniCopyClick(tk::Control& sender) {
  dynamic_cast<tk::ListControl&>(sender).CopySelection();
}

void TForm1::mniSelectAllClick(tk::Control& sender) {
  dynamic_cast<tk::ListControl&>(sender).SelectAll();
}

void TForm1::mniSaveClick(tk::Control& sender) {
  numbers::SaveListToFile(App(), dynamic_cast<tk::ListControl&>(sender),
                          &sender == &mmoList ? "投注号码.txt" : "删除号码.txt");
}

void TForm1::mniLoadClick(tk::Control& sender) {
  numbers::LoadListFromFile(App(), CountedOf(sender));
}

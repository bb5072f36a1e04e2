#include "toolkit/ask_text.h"

#include <map>
#include <vector>

#include "core/text.h"

namespace tk {

namespace {

ControlSpec Row(std::string_view name, Kind kind, Rect rect, int tab, std::string_view text) {
  ControlSpec c;
  c.name = name;
  c.kind = kind;
  c.rect = rect;
  c.tabOrder = tab;
  c.text = text;
  return c;
}

class TextDialog : public Form {
 public:
  TextDialog(Application& app, const FormSpec& table) : Form(app, table) {
    Wire<TextDialog>(
        this, {{"AskOkClick", &TextDialog::OkClick}, {"AskCancelClick", &TextDialog::CancelClick}},
        {}, nullptr);
  }
  void OkClick(Control&) {
    answer = Find(kAskTextEdit).Text();
    Close();
  }
  void CancelClick(Control&) { Close(); }

  std::optional<std::string> answer;
};

}  // namespace

std::optional<std::string> AskText(Application& app, Form& owner, std::string_view title,
                                   std::string_view prompt, std::string_view initial,
                                   int maxLength) {
  std::vector<ControlSpec> rows;
  rows.push_back(Row("lblAskPrompt", Kind::Label, {12, 14, 296, 14}, -1, prompt));
  ControlSpec edit = Row(kAskTextEdit, Kind::Edit, {12, 34, 296, 22}, 0, {});
  edit.maxLength = maxLength;
  rows.push_back(edit);
  ControlSpec ok = Row(kAskTextOk, Kind::Button, {148, 68, 76, 25}, 1, "确定");
  ok.onClick = "AskOkClick";
  ok.isDefault = true;
  rows.push_back(ok);
  ControlSpec cancel = Row(kAskTextCancel, Kind::Button, {232, 68, 76, 25}, 2, "取消");
  cancel.onClick = "AskCancelClick";
  rows.push_back(cancel);

  FormSpec form;
  form.name = kAskTextForm;
  form.caption = title;
  form.clientWidth = 320;
  form.clientHeight = 104;
  form.fontFace = "宋体";
  form.fontHeight = 14;
  form.dialog = true;
  form.controls = rows;

  TextDialog dialog(app, form);
  auto& field = dialog.Get<Edit>(kAskTextEdit);
  field.SetText(initial);
  field.SetCaretOffset(static_cast<int>(core::CharCount(initial)));
  app.ShowModal(dialog, owner);
  return dialog.answer;
}

}  // namespace tk

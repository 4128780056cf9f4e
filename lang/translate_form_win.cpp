#include "lang/translate_form_win.h"

#include "ui/controls_win.h"
#include "ui/gdi_win.h"
#include "ui/menu_win.h"

namespace vh {

namespace {

void AddControl(TranslatableForm& form, TControl& control, CaptionKind kind) {
  form.slots.push_back({control.Name(), kind, -1, [&control] { return control.Caption(); },
                        [&control](const std::string& text) { control.SetCaption(text); }});
}

void AddColumns(TranslatableForm& form, TListView& list) {
  for (int i = 0; i < list.ColumnCount(); ++i) {
    form.slots.push_back({list.Name(), CaptionKind::TListViewColumn, i, [&list, i] { return list.Column(i).caption; },
                          [&list, i](const std::string& text) { list.SetColumnCaption(i, text); }});
  }
}

void AddMenuItem(TranslatableForm& form, TMenuItem& item) {
  form.slots.push_back({item.Name(), CaptionKind::TMenuItem, -1, [&item] { return item.Caption; },
                        [&item](const std::string& text) { item.Caption = text; }});
}

}  // namespace

TranslatableForm DescribeForTranslation(TForm& form) {
  TranslatableForm out;
  out.name = form.Name();
  out.getCaption = [&form] { return form.Caption(); };
  out.setCaption = [&form](const std::string& text) { form.SetCaption(text); };
  for (TComponent* c : form.Components()) {
    if (auto* list = dynamic_cast<TListView*>(c)) {
      AddColumns(out, *list);
    } else if (auto* item = dynamic_cast<TMenuItem*>(c)) {
      AddMenuItem(out, *item);
    } else if (auto* control = dynamic_cast<TControl*>(c)) {
      CaptionKind kind = control->TranslationKind();
      if (kind != CaptionKind::Other) AddControl(out, *control, kind);
    }
  }
  return out;
}

void TranslateOnShow(TForm& form, Platform& platform, const std::string& lan) {
  if (!ShouldTranslate(lan)) return;
  TranslateFormTo(form, platform, lan);
}

void TranslateOnShow(TForm& form, const DialogInputs& inputs) {
  TranslateOnShow(form, inputs.platform, inputs.language);
}

void TranslateFormTo(TForm& form, Platform& platform, const std::string& language) {
  const LanguageFile file =
      TranslateForm(platform.profiles, platform.files.ExecutableFolder(), language, DescribeForTranslation(form));
  if (!file.Found()) return;
  // The fonts follow the script of the texts just set.
  SetTextCodePage(file.CodePage());
  form.ScriptChanged();
}

}  // namespace vh

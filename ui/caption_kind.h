// The component kinds whose captions a translation replaces; each control
// class names its own kind (TControl::TranslationKind), so the translator
// needs no knowledge of the control families.
#pragma once

namespace vh {

enum class CaptionKind {
  TLabel,
  TButton,
  TGroupBox,
  TPanel,
  TsuiURLLabel,
  TFlatSpeedButton,
  TsuiCheckBox,
  TsuiButton,
  TsuiGroupBox,     // the group box's own caption property
  TListViewColumn,  // one slot per column of a list view
  TMenuItem,        // looked up in the "Menu_" section of the form
  Other,            // keeps its design-time text
};

}  // namespace vh

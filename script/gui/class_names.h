// The script constructor names of the GUI classes, in registration order. Hosts without windows
// use the list to tell scripts that make windows where to run them.
#pragma once

namespace gui {

inline constexpr const char* kVCLClassNames[] = {
    "VCLForm",         "VCLEdit",        "VCLButton",      "VCLMemo",          "VCLLabel",
    "VCLTimer",        "VCLMenuItem",    "VCLMainMenu",    "VCLPopupMenu",     "VCLCheckBox",
    "VCLRadioButton",  "VCLListBox",     "VCLComboBox",    "VCLGroupBox",      "VCLRadioGroup",
    "VCLPanel",        "VCLSplitter",    "VCLCheckListBox", "VCLImage",        "VCLTabControl",
    "VCLTabSheet",     "VCLPageControl", "VCLProgressBar", "VCLTreeView",      "VCLListView",
    "VCLStatusBar",    "VCLToolButton",  "VCLToolBar",     "VCLCoolBar",       "VCLAction",
    "VCLOpenDialog",   "VCLSaveDialog",  "VCLFontDialog",  "VCLFindDialog",    "VCLReplaceDialog",
    "VCLSpinEdit",     "VCLUpDown",
};

}  // namespace gui

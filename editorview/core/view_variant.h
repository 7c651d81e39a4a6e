// What the programs' editor views differ in. The editor's view keeps UTF-8
// lines; the views of the translation workbench, the listening program and
// the text player keep the double-byte code of their font. Every program
// runs the same engine with one of these parameter sets.
#pragma once

namespace editorview {

// What the lines and the caret-line buffer hold.
enum class LineCode : unsigned char {
  kUtf8,      // UTF-8, measured and painted as UTF-16 (or as GM for a GM font)
  kFontCode,  // GM bytes for a font of charset 128, KS bytes otherwise, painted as they are
};

// Which formats a copy puts on the clipboard and how a paste chooses.
enum class ClipboardRule : unsigned char {
  kEditor,  // KS and GM copies with CF_LOCALE and optional rich text; the paste code setting; rich-text paste
  kFork,    // the view's own code; rich text always; CF_UNICODETEXT only for KS
};

// How the input method's result string is read.
enum class ImeResultRule : unsigned char {
  kFontCharset,  // ANSI for a GM font, UTF-16 for a KS font
  kUnicodeFlag,  // UTF-16 (to code page 949) for a KS font when the program asks for it, else ANSI
};

struct ViewVariant {
  const char* name;
  LineCode lineCode;
  int farRight;  // caret x that stands for "as far right as the row goes"
  bool findReplace;
  ClipboardRule clipboard;
  ImeResultRule imeResult;
  bool clearTextKeepsScroll;  // after ClearText the next caret update does not scroll
  bool printing = false;       // the view prints its text (the forks print through the framework's own slots)
};

inline constexpr ViewVariant kEditorView{"editor", LineCode::kUtf8, 999999, true, ClipboardRule::kEditor,
                                         ImeResultRule::kFontCharset, false, true};
inline constexpr ViewVariant kWorkbenchView{"workbench", LineCode::kFontCode, 99999, false, ClipboardRule::kFork,
                                            ImeResultRule::kUnicodeFlag, true};
inline constexpr ViewVariant kListeningView{"listening", LineCode::kFontCode, 99999, false, ClipboardRule::kFork,
                                            ImeResultRule::kUnicodeFlag, false};
inline constexpr ViewVariant kPlayerView{"player", LineCode::kFontCode, 99999, false, ClipboardRule::kFork,
                                         ImeResultRule::kUnicodeFlag, false};

}  // namespace editorview

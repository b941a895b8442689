#include "tools/qmrc/dialog_parser.h"

#include <map>
#include <string>

#include "platform/resources/window_styles.h"
#include "tools/qmrc/control_statements.h"
#include "tools/qmrc/expression.h"

namespace qmrc {
namespace {

using platform::DS_SETFONT;
using platform::WS_BORDER;
using platform::WS_CAPTION;
using platform::WS_CHILD;
using platform::WS_POPUP;
using platform::WS_SYSMENU;
using platform::WS_VISIBLE;

std::string ReadString(TokenCursor& cursor, const char* what) {
  if (cursor.Peek().kind != TokenKind::kString) {
    cursor.Fail(std::string("expected ") + what + " in quotes, found " + Spelling(cursor.Peek()));
  }
  return cursor.Next().text;
}

// A control's text where a resource name may stand instead: ICON and CONTROL.
// A number becomes "#N", an undefined name stays as written.
std::string ReadTextOrName(TokenCursor& cursor) {
  const Token& token = cursor.Peek();
  if (token.kind == TokenKind::kString) return cursor.Next().text;
  if (token.kind == TokenKind::kIdentifier && cursor.Peek(1).IsPunctuator(",")) return cursor.Next().text;
  const std::int64_t number = EvaluateNumber(cursor, "the control's text");
  if (number < 0 || number > 0xFFFF) cursor.Fail("resource number out of range: " + std::to_string(number));
  return "#" + std::to_string(number);
}

std::uint32_t ReadExStyle(TokenCursor& cursor) { return EvaluateStyle(cursor).OnTopOf(0); }

// Skips the optional help id that DIALOGEX allows after a control's extended style.
void SkipHelpId(TokenCursor& cursor, bool extended) {
  if (extended && cursor.TakePunctuator(",")) EvaluateNumber(cursor, "the help id");
}

void ReadRect(TokenCursor& cursor, ControlDefinition& control, const char* statement) {
  const std::string after = std::string("the ") + statement + "'s ";
  control.x = ReadCoordinate(cursor, "x");
  cursor.Expect(",", after + "x");
  control.y = ReadCoordinate(cursor, "y");
  cursor.Expect(",", after + "y");
  control.cx = ReadCoordinate(cursor, "width");
  cursor.Expect(",", after + "width");
  control.cy = ReadCoordinate(cursor, "height");
}

// [, style [, exstyle [, helpid]]] onto the statement's defaults.
void ReadTrailingStyles(TokenCursor& cursor, ControlDefinition& control, std::uint32_t defaults, bool extended) {
  control.style = defaults;
  if (!cursor.TakePunctuator(",")) return;
  control.style = EvaluateStyle(cursor).OnTopOf(defaults);
  if (!cursor.TakePunctuator(",")) return;
  control.exStyle = ReadExStyle(cursor);
  SkipHelpId(cursor, extended);
}

ControlDefinition ParseControl(TokenCursor& cursor, const ControlStatement& statement, bool extended) {
  ControlDefinition control;
  control.where = cursor.Peek().where;
  const std::string keyword = cursor.Next().text;
  const std::uint32_t defaults = WS_CHILD | WS_VISIBLE | statement.defaultStyle;
  control.windowClass = std::string(statement.windowClass);
  switch (statement.shape) {
    case ControlShape::kTextIdRect:
      control.text = ReadString(cursor, "the control's text");
      cursor.Expect(",", "the text of " + keyword);
      control.id = ReadControlId(cursor);
      cursor.Expect(",", "the id of " + keyword);
      ReadRect(cursor, control, keyword.c_str());
      ReadTrailingStyles(cursor, control, defaults, extended);
      break;
    case ControlShape::kIdRect:
      control.id = ReadControlId(cursor);
      cursor.Expect(",", "the id of " + keyword);
      ReadRect(cursor, control, keyword.c_str());
      ReadTrailingStyles(cursor, control, defaults, extended);
      break;
    case ControlShape::kIcon:
      control.text = ReadTextOrName(cursor);
      cursor.Expect(",", "the icon of " + keyword);
      control.id = ReadControlId(cursor);
      cursor.Expect(",", "the id of " + keyword);
      control.x = ReadCoordinate(cursor, "x");
      cursor.Expect(",", "the ICON's x");
      control.y = ReadCoordinate(cursor, "y");
      control.style = defaults;
      if (cursor.TakePunctuator(",")) {
        control.cx = ReadCoordinate(cursor, "width");
        cursor.Expect(",", "the ICON's width");
        control.cy = ReadCoordinate(cursor, "height");
        ReadTrailingStyles(cursor, control, defaults, extended);
      }
      break;
    case ControlShape::kGeneric: {
      control.text = ReadTextOrName(cursor);
      cursor.Expect(",", "the text of CONTROL");
      control.id = ReadControlId(cursor);
      cursor.Expect(",", "the id of CONTROL");
      const Token& classToken = cursor.Peek();
      if (classToken.kind != TokenKind::kString && classToken.kind != TokenKind::kIdentifier) {
        cursor.Fail("expected the control's class, found " + Spelling(classToken));
      }
      control.windowClass = std::string(CanonicalClassName(cursor.Next().text));
      if (control.windowClass.empty()) cursor.Fail("empty class name");
      cursor.Expect(",", "the class of CONTROL");
      control.style = EvaluateStyle(cursor).OnTopOf(defaults);
      cursor.Expect(",", "the style of CONTROL");
      ReadRect(cursor, control, "CONTROL");
      if (cursor.TakePunctuator(",")) {
        control.exStyle = ReadExStyle(cursor);
        SkipHelpId(cursor, extended);
      }
      break;
    }
  }
  return control;
}

void SkipToEndOfLine(TokenCursor& cursor, const SourceLocation& where) {
  while (!cursor.AtEnd() && cursor.Peek().where.file == where.file && cursor.Peek().where.line == where.line) {
    cursor.Next();
  }
}

void ParseFont(TokenCursor& cursor, DialogDefinition& dialog) {
  dialog.fontPointSize = ReadCoordinate(cursor, "the font size");
  cursor.Expect(",", "the font size");
  dialog.fontFace = ReadString(cursor, "the font name");
  if (!dialog.extended) return;
  if (!cursor.TakePunctuator(",")) return;
  dialog.fontWeight = static_cast<int>(EvaluateNumber(cursor, "the font weight"));
  if (dialog.fontWeight < 0 || dialog.fontWeight > 1000) cursor.Fail("font weight out of range");
  if (!cursor.TakePunctuator(",")) return;
  dialog.fontItalic = EvaluateNumber(cursor, "the italic flag") != 0;
  if (cursor.TakePunctuator(",")) EvaluateNumber(cursor, "the character set");
}

// STYLE, CAPTION, FONT and the other options between the rectangle and BEGIN.
void ParseOptions(TokenCursor& cursor, DialogDefinition& dialog) {
  bool styleGiven = false;
  StyleValue style;
  bool hasCaption = false;
  bool hasFont = false;
  while (!cursor.AtEnd() && !cursor.AtBlockStart()) {
    const Token& option = cursor.Peek();
    if (cursor.TakeKeyword("STYLE")) {
      style = EvaluateStyle(cursor);
      styleGiven = true;
    } else if (cursor.TakeKeyword("EXSTYLE")) {
      dialog.exStyle = ReadExStyle(cursor);
    } else if (cursor.TakeKeyword("CAPTION")) {
      dialog.caption = ReadString(cursor, "the caption");
      hasCaption = true;
    } else if (cursor.TakeKeyword("FONT")) {
      ParseFont(cursor, dialog);
      hasFont = true;
    } else if (cursor.TakeKeyword("CLASS")) {
      cursor.Next();  // a private window class for the dialog itself; the framework has none
    } else if (cursor.TakeKeyword("MENU")) {
      cursor.Next();
    } else if (cursor.TakeKeyword("CHARACTERISTICS") || cursor.TakeKeyword("VERSION")) {
      EvaluateNumber(cursor, "the number");
    } else if (option.IsKeyword("LANGUAGE")) {
      SkipToEndOfLine(cursor, option.where);
    } else {
      cursor.Fail("unknown dialog option " + Spelling(option) + " (expected STYLE, CAPTION, FONT, ... or BEGIN)");
    }
  }
  std::uint32_t bits = styleGiven ? style.set : (WS_POPUP | WS_BORDER | WS_SYSMENU);
  if (hasCaption) bits |= WS_CAPTION;
  if (hasFont) bits |= DS_SETFONT;
  dialog.style = bits & ~style.cleared;
}

}  // namespace

int ReadCoordinate(TokenCursor& cursor, const char* what) {
  const std::int64_t value = EvaluateNumber(cursor, what);
  if (value < -32768 || value > 32767) {
    cursor.Fail(std::string(what) + " out of range (-32768 to 32767): " + std::to_string(value));
  }
  return static_cast<int>(value);
}

int ReadControlId(TokenCursor& cursor) {
  const std::int64_t value = EvaluateNumber(cursor, "a control id");
  if (value == -1 || value == 0xFFFF) return -1;
  if (value < 0 || value > 0xFFFF) cursor.Fail("control id out of range (0 to 65535): " + std::to_string(value));
  return static_cast<int>(value);
}

DialogDefinition ParseDialog(TokenCursor& cursor, int id, bool extended, const SourceLocation& where) {
  DialogDefinition dialog;
  dialog.id = id;
  dialog.extended = extended;
  dialog.where = where;
  const char* keyword = extended ? "DIALOGEX" : "DIALOG";
  dialog.x = ReadCoordinate(cursor, "x");
  cursor.Expect(",", std::string("the ") + keyword + "'s x");
  dialog.y = ReadCoordinate(cursor, "y");
  cursor.Expect(",", std::string("the ") + keyword + "'s y");
  dialog.cx = ReadCoordinate(cursor, "width");
  cursor.Expect(",", std::string("the ") + keyword + "'s width");
  dialog.cy = ReadCoordinate(cursor, "height");
  if (extended && cursor.TakePunctuator(",")) EvaluateNumber(cursor, "the help id");

  ParseOptions(cursor, dialog);
  if (cursor.AtEnd()) cursor.Fail(std::string("expected BEGIN after the ") + keyword + " statement");
  const SourceLocation blockStart = cursor.Next().where;

  std::map<int, SourceLocation> seenIds;
  while (!cursor.AtBlockEnd()) {
    if (cursor.AtEnd()) throw CompileError(blockStart, "BEGIN without a matching END");
    const Token& token = cursor.Peek();
    const ControlStatement* statement =
        token.kind == TokenKind::kIdentifier ? FindControlStatement(token.text) : nullptr;
    if (statement == nullptr) cursor.Fail("expected a control statement or END, found " + Spelling(token));
    ControlDefinition control = ParseControl(cursor, *statement, extended);
    if (control.id != -1) {
      auto [seen, fresh] = seenIds.emplace(control.id, control.where);
      if (!fresh) {
        throw CompileError(control.where, "duplicate control id " + std::to_string(control.id) + " in dialog " +
                                              std::to_string(id) + " (first used at " + Describe(seen->second) + ")");
      }
    }
    dialog.controls.push_back(std::move(control));
  }
  cursor.Next();
  return dialog;
}

}  // namespace qmrc

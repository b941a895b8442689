#include "tools/qmrc/control_statements.h"

#include <strings.h>

#include <string>

#include "platform/resources/window_styles.h"

namespace qmrc {
namespace {

using namespace platform;

// The default styles are those Windows' resource compiler gives each statement.
constexpr ControlStatement kStatements[] = {
    {"LTEXT", "STATIC", SS_LEFT | WS_GROUP, ControlShape::kTextIdRect},
    {"CTEXT", "STATIC", SS_CENTER | WS_GROUP, ControlShape::kTextIdRect},
    {"RTEXT", "STATIC", SS_RIGHT | WS_GROUP, ControlShape::kTextIdRect},
    {"PUSHBUTTON", "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, ControlShape::kTextIdRect},
    {"DEFPUSHBUTTON", "BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, ControlShape::kTextIdRect},
    {"GROUPBOX", "BUTTON", BS_GROUPBOX, ControlShape::kTextIdRect},
    {"CHECKBOX", "BUTTON", BS_CHECKBOX | WS_TABSTOP, ControlShape::kTextIdRect},
    {"AUTOCHECKBOX", "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, ControlShape::kTextIdRect},
    {"STATE3", "BUTTON", BS_3STATE | WS_TABSTOP, ControlShape::kTextIdRect},
    {"AUTO3STATE", "BUTTON", BS_AUTO3STATE | WS_TABSTOP, ControlShape::kTextIdRect},
    {"RADIOBUTTON", "BUTTON", BS_RADIOBUTTON | WS_TABSTOP, ControlShape::kTextIdRect},
    {"AUTORADIOBUTTON", "BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, ControlShape::kTextIdRect},
    {"EDITTEXT", "EDIT", ES_LEFT | WS_BORDER | WS_TABSTOP, ControlShape::kIdRect},
    {"LISTBOX", "LISTBOX", LBS_NOTIFY | WS_BORDER, ControlShape::kIdRect},
    {"COMBOBOX", "COMBOBOX", CBS_SIMPLE | WS_TABSTOP, ControlShape::kIdRect},
    {"SCROLLBAR", "SCROLLBAR", SBS_HORZ, ControlShape::kIdRect},
    {"ICON", "STATIC", SS_ICON, ControlShape::kIcon},
    {"CONTROL", "", 0, ControlShape::kGeneric},
};

constexpr std::string_view kPredefinedClasses[] = {"BUTTON", "STATIC", "EDIT", "LISTBOX", "COMBOBOX", "SCROLLBAR"};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

const ControlStatement* FindControlStatement(std::string_view keyword) {
  for (const ControlStatement& statement : kStatements) {
    if (EqualIgnoringCase(statement.keyword, keyword)) return &statement;
  }
  return nullptr;
}

std::string_view CanonicalClassName(std::string_view name) {
  for (std::string_view predefined : kPredefinedClasses) {
    if (EqualIgnoringCase(predefined, name)) return predefined;
  }
  return name;
}

}  // namespace qmrc

#pragma once
// Window, dialog and control style bits with their Windows values. The resource
// compiler reads these names in scripts; the window framework interprets the bits.
// One list serves both, so a name and its value cannot drift apart.

#include <cstdint>
#include <optional>
#include <string_view>

// X(name, value)
#define QM_WINDOW_STYLE_LIST(X)                                                       \
  X(WS_OVERLAPPED, 0x00000000u) X(WS_POPUP, 0x80000000u) X(WS_CHILD, 0x40000000u)       \
  X(WS_MINIMIZE, 0x20000000u) X(WS_VISIBLE, 0x10000000u) X(WS_DISABLED, 0x08000000u)    \
  X(WS_CLIPSIBLINGS, 0x04000000u) X(WS_CLIPCHILDREN, 0x02000000u)                       \
  X(WS_MAXIMIZE, 0x01000000u) X(WS_CAPTION, 0x00C00000u) X(WS_BORDER, 0x00800000u)      \
  X(WS_DLGFRAME, 0x00400000u) X(WS_VSCROLL, 0x00200000u) X(WS_HSCROLL, 0x00100000u)     \
  X(WS_SYSMENU, 0x00080000u) X(WS_THICKFRAME, 0x00040000u) X(WS_GROUP, 0x00020000u)     \
  X(WS_TABSTOP, 0x00010000u) X(WS_MINIMIZEBOX, 0x00020000u)                             \
  X(WS_MAXIMIZEBOX, 0x00010000u) X(WS_OVERLAPPEDWINDOW, 0x00CF0000u)                    \
  X(WS_POPUPWINDOW, 0x80880000u)                                                        \
  X(WS_EX_DLGMODALFRAME, 0x00000001u) X(WS_EX_TOPMOST, 0x00000008u)                     \
  X(WS_EX_TRANSPARENT, 0x00000020u) X(WS_EX_TOOLWINDOW, 0x00000080u)                    \
  X(WS_EX_CLIENTEDGE, 0x00000200u) X(WS_EX_STATICEDGE, 0x00020000u)                     \
  X(DS_ABSALIGN, 0x01u) X(DS_SYSMODAL, 0x02u) X(DS_LOCALEDIT, 0x20u)                    \
  X(DS_SETFONT, 0x40u) X(DS_MODALFRAME, 0x80u) X(DS_NOIDLEMSG, 0x100u)                  \
  X(DS_SETFOREGROUND, 0x200u) X(DS_3DLOOK, 0x04u) X(DS_FIXEDSYS, 0x08u)                 \
  X(DS_NOFAILCREATE, 0x10u) X(DS_CONTROL, 0x400u) X(DS_CENTER, 0x800u)                  \
  X(DS_CENTERMOUSE, 0x1000u) X(DS_CONTEXTHELP, 0x2000u)                                 \
  X(BS_PUSHBUTTON, 0x0u) X(BS_DEFPUSHBUTTON, 0x1u) X(BS_CHECKBOX, 0x2u)                 \
  X(BS_AUTOCHECKBOX, 0x3u) X(BS_RADIOBUTTON, 0x4u) X(BS_3STATE, 0x5u)                   \
  X(BS_AUTO3STATE, 0x6u) X(BS_GROUPBOX, 0x7u) X(BS_USERBUTTON, 0x8u)                    \
  X(BS_AUTORADIOBUTTON, 0x9u) X(BS_OWNERDRAW, 0xBu) X(BS_LEFTTEXT, 0x20u)               \
  X(BS_ICON, 0x40u) X(BS_BITMAP, 0x80u) X(BS_LEFT, 0x100u) X(BS_RIGHT, 0x200u)          \
  X(BS_CENTER, 0x300u) X(BS_TOP, 0x400u) X(BS_BOTTOM, 0x800u) X(BS_VCENTER, 0xC00u)     \
  X(BS_MULTILINE, 0x2000u) X(BS_FLAT, 0x8000u)                                          \
  X(SS_LEFT, 0x0u) X(SS_CENTER, 0x1u) X(SS_RIGHT, 0x2u) X(SS_ICON, 0x3u)                \
  X(SS_BLACKRECT, 0x4u) X(SS_GRAYRECT, 0x5u) X(SS_WHITERECT, 0x6u)                      \
  X(SS_BLACKFRAME, 0x7u) X(SS_GRAYFRAME, 0x8u) X(SS_WHITEFRAME, 0x9u)                   \
  X(SS_SIMPLE, 0xBu) X(SS_LEFTNOWORDWRAP, 0xCu) X(SS_OWNERDRAW, 0xDu)                   \
  X(SS_BITMAP, 0xEu) X(SS_ETCHEDHORZ, 0x10u) X(SS_ETCHEDVERT, 0x11u)                    \
  X(SS_ETCHEDFRAME, 0x12u) X(SS_NOPREFIX, 0x80u) X(SS_NOTIFY, 0x100u)                   \
  X(SS_CENTERIMAGE, 0x200u) X(SS_SUNKEN, 0x1000u)                                       \
  X(ES_LEFT, 0x0u) X(ES_CENTER, 0x1u) X(ES_RIGHT, 0x2u) X(ES_MULTILINE, 0x4u)           \
  X(ES_UPPERCASE, 0x8u) X(ES_LOWERCASE, 0x10u) X(ES_PASSWORD, 0x20u)                    \
  X(ES_AUTOVSCROLL, 0x40u) X(ES_AUTOHSCROLL, 0x80u) X(ES_NOHIDESEL, 0x100u)             \
  X(ES_OEMCONVERT, 0x400u) X(ES_READONLY, 0x800u) X(ES_WANTRETURN, 0x1000u)             \
  X(ES_NUMBER, 0x2000u)                                                                 \
  X(LBS_NOTIFY, 0x1u) X(LBS_SORT, 0x2u) X(LBS_NOREDRAW, 0x4u) X(LBS_MULTIPLESEL, 0x8u)  \
  X(LBS_OWNERDRAWFIXED, 0x10u) X(LBS_OWNERDRAWVARIABLE, 0x20u)                          \
  X(LBS_HASSTRINGS, 0x40u) X(LBS_USETABSTOPS, 0x80u) X(LBS_NOINTEGRALHEIGHT, 0x100u)    \
  X(LBS_MULTICOLUMN, 0x200u) X(LBS_WANTKEYBOARDINPUT, 0x400u)                           \
  X(LBS_EXTENDEDSEL, 0x800u) X(LBS_DISABLENOSCROLL, 0x1000u) X(LBS_STANDARD, 0xA00003u) \
  X(CBS_SIMPLE, 0x1u) X(CBS_DROPDOWN, 0x2u) X(CBS_DROPDOWNLIST, 0x3u)                   \
  X(CBS_OWNERDRAWFIXED, 0x10u) X(CBS_OWNERDRAWVARIABLE, 0x20u) X(CBS_AUTOHSCROLL, 0x40u) \
  X(CBS_OEMCONVERT, 0x80u) X(CBS_SORT, 0x100u) X(CBS_HASSTRINGS, 0x200u)                \
  X(CBS_NOINTEGRALHEIGHT, 0x400u) X(CBS_DISABLENOSCROLL, 0x800u)                        \
  X(SBS_HORZ, 0x0u) X(SBS_VERT, 0x1u)

namespace platform {

#define QM_DEFINE_STYLE(name, value) inline constexpr std::uint32_t name = value;
QM_WINDOW_STYLE_LIST(QM_DEFINE_STYLE)
#undef QM_DEFINE_STYLE

// The low bits that select a button's or a static's kind.
inline constexpr std::uint32_t kButtonTypeMask = 0x0Fu;
inline constexpr std::uint32_t kStaticTypeMask = 0x1Fu;

// The value of a style name as written in a script; nullopt for unknown names.
std::optional<std::uint32_t> LookupStyleName(std::string_view name);

}  // namespace platform

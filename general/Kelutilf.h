#pragma once
// String, file-name, clipboard, printing and designer helpers. Positions are
// 1-based; case-insensitive comparison folds ASCII letters only, so other
// bytes (UTF-8 included) match exactly.
#include <cstdint>
#include <string>

namespace host {
class TBitmap;
class TComponent;
class TStrings;
class TWinControl;
} // namespace host

namespace kel {

// Only the space character (code 32) is trimmed; tabs and other blanks stay.
std::string kelLTrim(const std::string& S);
std::string kelRTrim(const std::string& S);
std::string kelLRTrim(const std::string& S);

// Source with its first occurrence of Find replaced by Replace; Source
// unchanged when Find is empty or does not occur.
std::string kelReplaceStr(const std::string& Find, const std::string& Replace, const std::string& Source,
                          bool CaseSensitive);
// Every non-overlapping occurrence, left to right; inserted text is never
// searched again.
std::string kelReplaceAll(const std::string& Find, const std::string& Replace, const std::string& Source,
                          bool CaseSensitive);

// Lower-cases S, then capitalises the first letter a-z after each space (and at
// the start); other characters neither take nor use up the capital.
std::string kelProperCase(const std::string& S);

// The name part of a path (after the last '\', '/' or ':') cut before its
// first '.'.
std::string kelFileNamePart(const std::string& FileName);

// FileName with everything from the first '.' of its name part replaced by
// NewExt (which carries its own dot); unchanged when the name part has no dot.
std::string kelReplaceFileExt(const std::string& FileName, const std::string& NewExt);

// Places S on the clipboard as text.
void kelStrToClip(const std::string& S);

// Prints each string as one line through the printer opened as a text device.
// The document is ended also when a line fails; the error then passes on.
void kelPrintStrings(host::TStrings* Strings);

// Prints the strings at X, one every 100 printer units from Y = 100 down,
// LinesPerPage to a page (0: one line per page), in the printer canvas's
// font. The hourglass shows meanwhile; the default cursor comes back after.
// A job that fails is aborted, so the printer is free again.
void kelPrintStringsFormat(host::TStrings* Strings, uint8_t X, uint8_t LinesPerPage);

// A new bitmap, owned by the caller, of Control's client area as the control
// paints it on a white background (erase, then paint, into a memory DC).
// Windowed children are not part of it: they paint in windows of their own.
host::TBitmap* kelGetControlBitmap(host::TWinControl* Control);

// Prints Control's image at the top-left corner of one page, scaled from
// screen to printer resolution. A job that fails is aborted.
void kelPrintControlImage(host::TWinControl* Control);

// Tells the designer of Component's form that the form changed, when the
// component is being designed; nothing otherwise, nor without a form or a
// designer. The form is a control's parent form, or for other components the
// nearest owner that is a form.
void kelDesignerModified(host::TComponent* Component);

} // namespace kel

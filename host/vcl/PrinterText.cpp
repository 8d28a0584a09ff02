#include "host/vcl/Printers.h"

namespace host {

TPrnTextFile::~TPrnTextFile()
{
    if (FOpen && FPrinter && FPrinter->GetPrinting()) FPrinter->Abort();
}

void AssignPrn(TPrnTextFile& F)
{
    if (F.FOpen) throw EInOutError("File access denied", 5);
    F.FPrinter = Printer();
}

void TPrnTextFile::Rewrite()
{
    if (!FPrinter) throw EInOutError("File not assigned", 102);
    if (FOpen) throw EInOutError("File access denied", 5);
    FPrinter->BeginDoc();
    FOpen = true;
    FX = FY = FColumn = 0;
}

void TPrnTextFile::NewLine()
{
    FY += FPrinter->GetCanvas()->TextHeight("0");
    FX = FColumn = 0;
}

// The page turns when text would cross its bottom, not when a line ends, so
// a document never ends with an empty page.
void TPrnTextFile::Emit(const std::string& Text)
{
    if (Text.empty()) return;
    TCanvas* canvas = FPrinter->GetCanvas();
    if (FY > 0 && FY + canvas->TextHeight("0") > FPrinter->GetPageHeight()) {
        FPrinter->NewPage();
        FY = 0;
    }
    canvas->TextOut(FX, FY, Text);
    FX += canvas->TextWidth(Text);
}

void TPrnTextFile::Write(const std::string& Text)
{
    if (!FOpen) throw EInOutError("File not open for output", 105);
    std::string run;
    for (char c : Text) {
        if (c == '\n') {
            Emit(run);
            run.clear();
            NewLine();
        } else if (c == '\t') {
            int spaces = 8 - FColumn % 8;
            run.append(size_t(spaces), ' ');
            FColumn += spaces;
        } else if (c != '\r') {
            run += c;
            ++FColumn;
        }
    }
    Emit(run);
}

void TPrnTextFile::WriteLn(const std::string& Text)
{
    Write(Text);
    Write("\n");
}

void TPrnTextFile::CloseFile()
{
    if (!FOpen) throw EInOutError("File not open", 103);
    FOpen = false;
    FPrinter->EndDoc();
}

} // namespace host

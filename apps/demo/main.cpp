// The demo: a windowed program that shows the library's components. On a
// display it runs until its main form closes; without one it shows every
// form on the in-memory screen, writes a screenshot of each and says where.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Demo.h"
#include "general/Kelcurlb.h"
#include "host/rtl/DateTime.h"
#include "host/vcl/Forms.h"
#include "host/win/Modal.h"
#include "host/win/Screen.h"

namespace {

void PrintCheques()
{
    struct {
        double amount;
        kel::TCurrFractionFormat format;
    } cheques[] = {
        {123.45, kel::ffHundredths},     {1000, kel::ffUnitsWords},       {0.5, kel::ffUnitsDigits},
        {1014000.99, kel::ffUnitsWords}, {2147483647, kel::ffNoFraction}, {1.995, kel::ffHundredths},
    };
    std::puts("Cheque amounts in words:");
    for (auto c : cheques) {
        std::string words = kel::NumToWords("dollars", "cents", c.format, c.amount, true, true);
        std::printf("  %14.3f  %s\n", c.amount, words.c_str());
    }
}

std::string OutputFolder(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--out") return argv[i + 1];
    if (const char* env = std::getenv("KEL_DEMO_OUT")) return env;
    return "kel-demo";
}

void Snapshot(host::TForm* Form, const std::string& Folder, const std::string& Name)
{
    Form->Show();
    host::Application->ProcessMessages();
    const std::string file = (std::filesystem::path(Folder) / (Name + ".png")).string();
    host::Screenshot(Form->GetHandle(), file);
    std::printf("  %s\n", file.c_str());
}

// A modal dialog is photographed as its loop starts and then cancelled; a
// modeless one once it is shown.
void SnapshotDialog(const demo::TDemoDialog& Dialog, const std::string& Folder)
{
    const std::string file = (std::filesystem::path(Folder) / (Dialog.Name + ".png")).string();
    host::TModalHook previous = host::SetModalHook([&](host::HWND Wnd) {
        host::Screenshot(Wnd, file);
        if (auto* form = dynamic_cast<host::TForm*>(host::FindControl(Wnd))) form->SetModalResult(host::mrCancel);
    });
    auto* owner = new host::TComponent(nullptr);
    if (host::HWND modeless = Dialog.Open(owner)) {
        host::Application->ProcessMessages();
        host::Screenshot(modeless, file);
    }
    owner->Free();
    host::SetModalHook(std::move(previous));
    std::printf("  %s\n", file.c_str());
}

// Without a display nobody can click: show each form once and photograph it.
int RunHeadless(host::TForm* Main, const std::string& Folder)
{
    std::filesystem::create_directories(Folder);
    std::puts("No display: screenshots of the demo's forms:");
    Snapshot(Main, Folder, "main");
    for (const demo::TDemoForm& f : demo::DemoForms()) {
        host::TForm* form = f.Create(host::Application);
        Snapshot(form, Folder, f.Name);
        form->Free();
    }
    for (const demo::TDemoDialog& d : demo::DemoDialogs()) SnapshotDialog(d, Folder);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::puts("KEL demo");
    PrintCheques();
    host::Application->Initialize();
    host::Application->SetTitle("KEL demo");
    host::TForm* main = nullptr;
    host::Application->CreateForm(main); // the first form is the main form: closing it ends the program
    demo::BuildMainForm(main);
    if (!host::ScreenHasDisplay()) return RunHeadless(main, OutputFolder(argc, argv));
    main->Show();
    host::Application->Run();
    return 0;
}

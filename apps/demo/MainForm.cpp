// The demo's main form: a classic dialog with a title panel, a few labelled
// inputs, a group of options, the cheque amount in words, and a button per
// demo form.
#include "Demo.h"

#include "general/Kelcurlb.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/ExtCtrls.h"
#include "host/vcl/StdCtrls.h"

namespace demo {

using namespace host;

std::vector<TDemoForm>& DemoForms()
{
    static std::vector<TDemoForm> forms;
    return forms;
}

std::vector<TDemoDialog>& DemoDialogs()
{
    static std::vector<TDemoDialog> dialogs;
    return dialogs;
}

namespace {

template <class T>
T* Add(TWinControl* Parent, const std::string& Name, int Left, int Top, int Width, int Height)
{
    auto* c = new T(Parent->GetOwner() ? Parent->GetOwner() : Parent);
    c->SetName(Name);
    c->SetBounds(Left, Top, Width, Height);
    c->SetParent(Parent);
    return c;
}

// Writes the amount typed in the edit out in words, as on a cheque.
class TChequeWriter : public TObject {
    HOST_CLASS(TChequeWriter, TObject)
public:
    TEdit* Amount = nullptr;
    kel::TCurrencyLabel* Words = nullptr;
    TRadioButton* InWords = nullptr;
    void AmountChange(TObject*)
    {
        double value = 0;
        Words->SetCurrFractionFormat(InWords->GetChecked() ? kel::ffUnitsWords : kel::ffHundredths);
        Words->SetValue(TryStrToFloat(Amount->GetText(), value) ? value : -1); // -1 shows the error text
    }
};

} // namespace

void BuildMainForm(TForm* Form)
{
    Form->SetName("MainForm");
    Form->SetCaption("KEL demo");
    Form->SetBorderStyle(bsSingle);
    Form->SetPosition(poScreenCenter);
    Form->SetClientWidth(440);

    auto* title = Add<TPanel>(Form, "TitlePanel", 0, 0, 440, 36);
    title->SetAlign(alTop);
    title->SetCaption("KEL components on the host framework");
    title->GetFont()->SetStyle(TFontStyles{fsBold});

    auto* nameLabel = Add<TLabel>(Form, "NameLabel", 12, 52, 60, 16);
    nameLabel->SetCaption("&Payee:");
    auto* name = Add<TEdit>(Form, "PayeeEdit", 84, 48, 200, 24);
    name->SetText("Ada Lovelace");
    nameLabel->SetFocusControl(name);

    auto* amountLabel = Add<TLabel>(Form, "AmountLabel", 12, 84, 60, 16);
    amountLabel->SetCaption("&Amount:");
    auto* amount = Add<TEdit>(Form, "AmountEdit", 84, 80, 120, 24);
    amountLabel->SetFocusControl(amount);

    auto* options = Add<TGroupBox>(Form, "Options", 300, 44, 128, 92);
    options->SetCaption("Cents");
    auto* inWords = Add<TRadioButton>(options, "InWords", 10, 20, 110, 20);
    inWords->SetCaption("In &words");
    inWords->SetChecked(true);
    auto* inDigits = Add<TRadioButton>(options, "InDigits", 10, 42, 110, 20);
    inDigits->SetCaption("As &fraction");
    auto* hints = Add<TCheckBox>(options, "ShowHints", 10, 64, 110, 20);
    hints->SetCaption("Show &hints");
    hints->SetChecked(true);

    auto* bevel = Add<TBevel>(Form, "Rule", 12, 148, 416, 2);
    bevel->SetShape(bsTopLine);
    auto* words = Add<kel::TCurrencyLabel>(Form, "Words", 12, 158, 416, 40);
    // A wrapped label keeps its box: auto-size would shrink it to its text when parented.
    words->SetAutoSize(false);
    words->SetBoundsRect(TRect{12, 158, 428, 198});
    words->SetWordWrap(true);
    words->GetFont()->SetColor(clNavy);

    auto* writer = new TChequeWriter;
    writer->Amount = amount;
    writer->Words = words;
    writer->InWords = inWords;
    amount->OnChange = TNotifyEvent(writer, &TChequeWriter::AmountChange);
    inWords->OnClick = TNotifyEvent(writer, &TChequeWriter::AmountChange);
    inDigits->OnClick = TNotifyEvent(writer, &TChequeWriter::AmountChange);
    amount->SetText("1014000.99");
    Form->OnDestroy = TNotifyEvent([writer](TObject*) { writer->Free(); });

    // Two buttons a row, as many rows as there are forms; the form grows to fit.
    int index = 0;
    for (const TDemoForm& f : DemoForms()) {
        const int left = 12 + (index % 2) * 212, top = 212 + (index / 2) * 33;
        auto* open = Add<TButton>(Form, "Open" + std::to_string(index++), left, top, 204, 27);
        open->SetCaption(f.Caption);
        auto create = f.Create;
        open->OnClick = TNotifyEvent([create](TObject*) {
            TForm* form = create(Application);
            form->ShowModal();
            form->Free();
        });
    }
    const int closeTop = 212 + (index + 1) / 2 * 33 + 8;
    Form->SetClientHeight(closeTop + 27 + 12);
    auto* close = Add<TButton>(Form, "CloseButton", 352, closeTop, 76, 27);
    close->SetCaption("Close");
    close->SetCancel(true);
    close->OnClick = TNotifyEvent([Form](TObject*) { Form->Close(); });
    // A hidden form cannot take the focus yet: choose where typing starts once it shows.
    Form->OnShow = TNotifyEvent([Form, amount](TObject*) { Form->SetActiveControl(amount); });
}

} // namespace demo

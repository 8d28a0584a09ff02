// The visual components: rotated labels with their caption effects and
// borders, edge panels, a speed panel of speed buttons, a panel the user can
// drag, a hint bar, and a button whose error goes through the exception
// handler (its message box and its log in the temporary folder).
#include <filesystem>

#include "Demo.h"

#include "general/Kelexcep.h"
#include "general/Kellabel.h"
#include "general/Kelpanel.h"
#include "host/vcl/Buttons.h"
#include "host/vcl/StdCtrls.h"

namespace demo {
namespace {

using namespace host;

kel::TRotLabel* RotLabel(TForm* Form, TWinControl* Parent, const std::string& Name, const std::string& Caption,
                         int CentreX, int CentreY, int Angle, kel::TCaptionEffect Effect, kel::TBorderEffect Border)
{
    auto* l = new kel::TRotLabel(Form);
    l->SetName(Name);
    l->SetParent(Parent);
    l->SetCaption(Caption);
    l->GetFont()->SetSize(12);
    l->GetFont()->SetStyle(TFontStyles{fsBold});
    l->GetCaptionStyle()->SetOffset(Effect == kel::ceShadowed ? 2 : 1);
    l->GetCaptionStyle()->SetEffect(Effect);
    l->GetBorderStyle()->SetEffect(Border);
    l->SetAngle(Angle);
    l->SetLeft(CentreX - l->GetWidth() / 2);
    l->SetTop(CentreY - l->GetHeight() / 2);
    return l;
}

void AddLabels(TForm* Form)
{
    auto* box = Add<TGroupBox>(Form, Form, "LabelsBox", 8, 8, 300, 262);
    box->SetCaption("Rotated labels");
    RotLabel(Form, box, "Plain", "Plain, level", 80, 40, 0, kel::ceNormal, kel::beNone);
    RotLabel(Form, box, "Raised", "Raised", 220, 40, 0, kel::ceRaised, kel::beRaised);
    auto* shadow = RotLabel(Form, box, "Shadowed", "Shadowed at 30", 85, 125, 30, kel::ceShadowed, kel::beLine);
    shadow->GetFont()->SetColor(clNavy);
    RotLabel(Form, box, "Lowered", "Lowered, 90", 255, 160, 90, kel::ceLowered, kel::beLowered);
    RotLabel(Form, box, "Emboss", "Embossed", 150, 205, 345, kel::ceEmbossRaised, kel::beFrameLowered);
    auto* down = RotLabel(Form, box, "Upside", "Upside down", 70, 225, 180, kel::ceRaised, kel::beNone);
    down->GetFont()->SetColor(clMaroon);
}

void AddEdgePanels(TForm* Form)
{
    struct Edge {
        const char* Name;
        const char* Caption;
        kel::TBevelEdges Edges;
        TBevelCut Outer;
    } edges[] = {
        {"EdgeAll", "All edges", kel::AllBevelEdges, bvRaised},
        {"EdgeTopBottom", "Top, bottom", kel::TBevelEdges{kel::beTop, kel::beBottom}, bvRaised},
        {"EdgeLeft", "Left only", kel::TBevelEdges{kel::beLeft}, bvLowered},
        {"EdgeBottomRight", "Bottom, right", kel::TBevelEdges{kel::beBottom, kel::beRight}, bvLowered},
    };
    int top = 8;
    for (const Edge& e : edges) {
        auto* p = Add<kel::TEdgePanel>(Form, Form, e.Name, 318, top, 110, 30);
        p->SetCaption(e.Caption);
        p->SetBevelEdges(e.Edges);
        p->SetBevelOuter(e.Outer);
        p->SetBevelWidth(2);
        top += 36;
    }
}

void AddSpeedPanel(TForm* Form)
{
    auto* panel = Add<kel::TSpeedPanel>(Form, Form, "Tools", 438, 8, 100, 100);
    panel->SetBevelEdges(kel::AllBevelEdges);
    const char* captions[] = {"B", "I", "U", "<", "=", ">"};
    const char* hints[] = {"Bold", "Italic", "Underline", "Align left", "Centre", "Align right"};
    for (int i = 0; i < 6; ++i) {
        auto* b = Add<TSpeedButton>(Form, panel, std::string("Tool") + char('1' + i), i * 30, 0, 24, 24);
        b->SetCaption(captions[i]);
        b->SetHint(std::string(hints[i]) + "|" + hints[i] + " the selected text");
        b->SetGroupIndex(i < 3 ? 0 : 1);
    }
    panel->SetCtrlCols(3);
    panel->SetAutoSize(true);
}

void AddDragPanel(TForm* Form)
{
    auto* drag = Add<kel::TDragPanel>(Form, Form, "DragMe", 318, 160, 150, 56);
    drag->SetCaption("Drag me; size my frame");
    drag->SetColor(clInfoBk);
    drag->SetOptions(kel::TSizeMoveOptions{kel::smMoveInParent, kel::smSizeRight, kel::smSizeBottom});
    drag->SetSizeMaxWidth(260);
    drag->SetSizeMaxHeight(120);
}

// Raises an error that no code catches: the form's exception handler shows it
// and appends it to its log.
class TErrorButton : public TObject {
    HOST_CLASS(TErrorButton, TObject)
public:
    void Click(TObject*) { throw Exception("The demo raised this error on purpose."); }
};

void AddErrorButton(TForm* Form)
{
    auto* handler = new kel::TAppException(Form);
    handler->SetName("ErrorHandler");
    handler->GetExcepMsg()->SetTitle("Visual components");
    const auto log = std::filesystem::temp_directory_path() / "kel-demo-errors.log";
    handler->GetExcepLog()->SetFileName(log.string());
    auto* button = Add<TButton>(Form, Form, "RaiseButton", 318, 232, 150, 27);
    button->SetCaption("&Raise an error");
    button->SetHint("Raise|Raises an error that the exception handler reports and logs");
    static TErrorButton raiser;
    button->OnClick = TNotifyEvent(&raiser, &TErrorButton::Click);
}

TForm* CreateVisualsForm(TComponent* Owner)
{
    auto* form = new TForm(Owner);
    form->SetName("VisualsForm");
    form->SetCaption("Visual components");
    form->SetBorderStyle(bsSingle);
    form->SetPosition(poScreenCenter);
    form->SetClientWidth(556);
    form->SetClientHeight(298);
    AddLabels(form);
    AddEdgePanels(form);
    AddSpeedPanel(form);
    AddDragPanel(form);
    AddErrorButton(form);
    auto* bar = new kel::THintBar(form);
    bar->SetName("Hints");
    bar->SetParent(form);
    bar->SetHintPrefix(" ");
    bar->SetShowActiveControl(true);
    bar->SetShowEmpty(true);
    return form;
}

const TRegisterForm Registered{"visuals", "&Visual components...", &CreateVisualsForm};

} // namespace
} // namespace demo

#include "host/vcl/Filer.h"

#include <cmath>
#include <cstring>
#include <map>

#include "host/rtl/Resources.h"
#include "host/rtl/Strings.h"

namespace host {

// ---- 80-bit extended floats ----------------------------------------------------

void DoubleToExtended(double Value, uint8_t Out[10])
{
    uint64_t bits;
    std::memcpy(&bits, &Value, sizeof bits);
    uint16_t sign = static_cast<uint16_t>((bits >> 63) << 15);
    int exp = static_cast<int>((bits >> 52) & 0x7FF);
    uint64_t frac = bits & ((uint64_t(1) << 52) - 1);
    uint64_t mant = 0;
    int e = 0;
    if (exp == 0x7FF) { // infinity or NaN
        e = 0x7FFF;
        mant = (uint64_t(1) << 63) | (frac << 11);
    } else if (exp == 0 && frac != 0) { // a double denormal is a normal extended
        int shift = __builtin_clzll(frac);
        mant = frac << shift;
        e = -1011 - shift + 16383;
    } else if (exp != 0) {
        mant = (uint64_t(1) << 63) | (frac << 11);
        e = exp - 1023 + 16383;
    }
    for (int i = 0; i < 8; ++i) Out[i] = static_cast<uint8_t>(mant >> (8 * i));
    uint16_t se = static_cast<uint16_t>(sign | e);
    Out[8] = static_cast<uint8_t>(se);
    Out[9] = static_cast<uint8_t>(se >> 8);
}

double ExtendedToDouble(const uint8_t In[10])
{
    uint64_t mant = 0;
    for (int i = 0; i < 8; ++i) mant |= uint64_t(In[i]) << (8 * i);
    uint16_t se = static_cast<uint16_t>(In[8] | (In[9] << 8));
    bool negative = (se & 0x8000) != 0;
    int e = se & 0x7FFF;
    double result;
    if (e == 0x7FFF)
        result = (mant << 1) == 0 ? HUGE_VAL : std::nan("");
    else if (mant == 0)
        result = 0.0;
    else
        result = std::ldexp(static_cast<double>(mant), e - 16383 - 63);
    return negative ? -result : result;
}

// ---- External DefineProperties ----------------------------------------------------

namespace {
std::vector<std::pair<TClass, TDefinePropertiesProc>>& DefineProcs()
{
    static std::vector<std::pair<TClass, TDefinePropertiesProc>> procs;
    return procs;
}

void StringsDefineProperties(TPersistent* Instance, TFiler* Filer)
{
    auto* strings = static_cast<TStrings*>(Instance);
    bool hasData = strings->GetCount() > 0;
    if (auto* ancestor = dynamic_cast<TStrings*>(Filer->GetAncestor())) hasData = !strings->Equals(ancestor);
    Filer->DefineProperty(
        "Strings",
        [strings](TReader* Reader) {
            Reader->ReadListBegin();
            strings->BeginUpdate();
            try {
                strings->Clear();
                while (!Reader->EndOfList()) strings->Add(Reader->ReadString());
            } catch (...) {
                strings->EndUpdate();
                throw;
            }
            strings->EndUpdate();
            Reader->ReadListEnd();
        },
        [strings](TWriter* Writer) {
            Writer->WriteListBegin();
            for (int i = 0; i < strings->GetCount(); ++i) Writer->WriteString(strings->GetStrings(i));
            Writer->WriteListEnd();
        },
        hasData);
}

struct TStringsFilerRegistration {
    TStringsFilerRegistration() { RegisterDefineProperties(TStrings::StaticClass(), &StringsDefineProperties); }
} stringsFilerRegistration;
} // namespace

void RegisterDefineProperties(TClass AClass, TDefinePropertiesProc Proc)
{
    for (auto& entry : DefineProcs())
        if (entry.first == AClass) {
            entry.second = Proc;
            return;
        }
    DefineProcs().emplace_back(AClass, Proc);
}

void CallDefineProperties(TPersistent* Instance, TFiler* Filer)
{
    Instance->DefineProperties(Filer);
    for (auto& [cls, proc] : DefineProcs())
        if (Instance->InheritsFrom(cls)) proc(Instance, Filer);
}

// ---- Global fix-ups ------------------------------------------------------------

namespace {
struct TGlobalFixup {
    TPersistent* Instance;
    TComponent* InstanceComponent; // the component Instance belongs to
    TComponent* InstanceRoot;
    const TPropInfo* Prop;
    std::string RootName;
    std::string Name;
};

std::vector<TGlobalFixup>& GlobalFixups()
{
    static std::vector<TGlobalFixup> fixups;
    return fixups;
}

std::vector<TFindGlobalComponent>& GlobalFinders()
{
    static std::vector<TFindGlobalComponent> finders;
    return finders;
}
} // namespace

void RegisterFindGlobalComponentProc(TFindGlobalComponent Proc) { GlobalFinders().push_back(Proc); }

void UnregisterFindGlobalComponentProc(TFindGlobalComponent Proc)
{
    auto& f = GlobalFinders();
    std::erase(f, Proc);
}

TComponent* FindGlobalComponent(const std::string& Name)
{
    for (auto it = GlobalFinders().rbegin(); it != GlobalFinders().rend(); ++it)
        if (TComponent* c = (*it)(Name)) return c;
    return nullptr;
}

void AddGlobalFixup(TPersistent* Instance, TComponent* InstanceComponent, TComponent* InstanceRoot,
                    const TPropInfo* Prop, const std::string& RootName, const std::string& Name)
{
    GlobalFixups().push_back({Instance, InstanceComponent, InstanceRoot, Prop, RootName, Name});
    if (InstanceComponent) InstanceComponent->SetComponentState(csFixups, true);
}

namespace {
// csFixups marks a component while a reference of it waits for another root.
void UpdateFixupState(TComponent* Component)
{
    if (!Component) return;
    for (const TGlobalFixup& f : GlobalFixups())
        if (f.InstanceComponent == Component) return;
    Component->SetComponentState(csFixups, false);
}
} // namespace

void GlobalFixupReferences()
{
    auto& list = GlobalFixups();
    for (size_t i = 0; i < list.size();) {
        TGlobalFixup f = list[i];
        TComponent* root = FindGlobalComponent(f.RootName);
        TComponent* target = root ? root->FindComponent(f.Name) : nullptr;
        if (!target) {
            ++i;
            continue;
        }
        list.erase(list.begin() + static_cast<ptrdiff_t>(i));
        try {
            SetObjectProp(f.Instance, f.Prop, target);
        } catch (const EPropertyError&) {
            // A reference of the wrong class stays unset, as an unresolved one does.
        }
        UpdateFixupState(f.InstanceComponent);
    }
}

void RemoveFixupReferences(TComponent* Root)
{
    std::erase_if(GlobalFixups(), [Root](const TGlobalFixup& f) {
        return f.InstanceRoot == Root || f.InstanceComponent == Root || f.Instance == Root;
    });
}

int PendingGlobalFixupCount() { return static_cast<int>(GlobalFixups().size()); }

// ---- TComponent streaming -------------------------------------------------------

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }

void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }

void TComponent::DefineProperties(TFiler* Filer)
{
    int32_t ancestorInfo = 0;
    if (auto* ancestor = dynamic_cast<TComponent*>(Filer->GetAncestor())) ancestorInfo = ancestor->FDesignInfo;
    auto lo = [](int32_t v) { return static_cast<int16_t>(v & 0xFFFF); };
    auto hi = [](int32_t v) { return static_cast<int16_t>((v >> 16) & 0xFFFF); };
    auto pack = [](int lo16, int hi16) {
        return static_cast<int32_t>((static_cast<uint32_t>(hi16 & 0xFFFF) << 16) | static_cast<uint32_t>(lo16 & 0xFFFF));
    };
    Filer->DefineProperty(
        "Left", [this, hi, pack](TReader* r) { FDesignInfo = pack(r->ReadInteger(), hi(FDesignInfo)); },
        [this, lo](TWriter* w) { w->WriteInteger(lo(FDesignInfo)); }, lo(FDesignInfo) != lo(ancestorInfo));
    Filer->DefineProperty(
        "Top", [this, lo, pack](TReader* r) { FDesignInfo = pack(lo(FDesignInfo), r->ReadInteger()); },
        [this, hi](TWriter* w) { w->WriteInteger(hi(FDesignInfo)); }, hi(FDesignInfo) != hi(ancestorInfo));
}

// ---- Stream helpers ------------------------------------------------------------

TStreamOriginalFormat TestStreamFormat(TStream* Stream)
{
    int64_t pos = Stream->GetPosition();
    char sig[4] = {};
    int64_t n = Stream->Read(sig, 4);
    Stream->SetPosition(pos);
    if (n == 4 && std::memcmp(sig, "TPF0", 4) == 0) return sofBinary;
    if (n <= 0) return sofUnknown;
    // Text forms start (after blanks) with object, inherited or inline.
    return sofText;
}

TComponent* ReadComponent(TStream* Stream, TComponent* Instance)
{
    if (TestStreamFormat(Stream) == sofText) {
        TMemoryStream binary;
        ObjectTextToBinary(Stream, &binary);
        binary.SetPosition(0);
        TReader reader(&binary);
        return reader.ReadRootComponent(Instance);
    }
    TReader reader(Stream);
    return reader.ReadRootComponent(Instance);
}

void WriteComponent(TStream* Stream, TComponent* Instance)
{
    TWriter writer(Stream);
    writer.WriteRootComponent(Instance);
}

TComponent* ReadComponentFromString(const std::string& Data, TComponent* Instance)
{
    TStringStream stream(Data);
    return ReadComponent(&stream, Instance);
}

std::string WriteComponentToString(TComponent* Instance)
{
    TStringStream stream;
    WriteComponent(&stream, Instance);
    return stream.GetDataString();
}

bool ReadComponentRes(const std::string& ResName, TComponent* Instance)
{
    auto data = FindResourceData(TResType::FormLayout, ResName);
    if (!data) return false;
    ReadComponentFromString(std::string(*data), Instance);
    return true;
}

bool InitInheritedComponent(TComponent* Instance, TClass LayoutClass)
{
    if (!Instance || !LayoutClass) return false;
    if (!ReadComponentRes(LayoutClass->Name, Instance)) return false;
    // Components the ancestor's layout created were named before this class's
    // fields existed; point those fields at them now.
    for (int i = 0; i < Instance->GetComponentCount(); ++i) {
        TComponent* c = Instance->GetComponents(i);
        if (!c->GetName().empty()) SetPublishedField(Instance, c->GetName(), c);
    }
    return true;
}

} // namespace host

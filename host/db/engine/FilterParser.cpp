#include "host/db/engine/FilterParser.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "host/rtl/DateTime.h"
#include "host/rtl/Resources.h"

namespace host::engine {

namespace {

enum class TTok { End, Field, Name, String, Number, Op, LParen, RParen, Minus };

struct TToken {
    TTok Kind = TTok::End;
    std::string Text; // field name, word, string contents, number text or operator
    size_t Pos = 0;
};

[[noreturn]] void Fail(int Ident, const std::string& Arg = {})
{
    std::string fmt = LoadStr(Ident);
    if (fmt.empty()) fmt = "Filter expression error %s";
    throw EFilterExprError(Ident, fmt.find('%') != std::string::npos ? Format(fmt, {Arg}) : fmt);
}

bool IsSpace(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }
bool IsNameStart(char C) { return std::isalpha(static_cast<unsigned char>(C)) || C == '_'; }
bool IsNameChar(char C) { return std::isalnum(static_cast<unsigned char>(C)) || C == '_' || C == '.'; }
bool IsDigit(char C) { return std::isdigit(static_cast<unsigned char>(C)) != 0; }

std::vector<TToken> Tokenize(const std::string& S)
{
    std::vector<TToken> out;
    size_t i = 0;
    while (true) {
        while (i < S.size() && IsSpace(S[i])) ++i;
        TToken t;
        t.Pos = i;
        if (i >= S.size()) {
            out.push_back(t);
            return out;
        }
        char c = S[i];
        if (c == '[') {
            size_t end = S.find(']', i + 1);
            if (end == std::string::npos) Fail(SFilterFieldUnterminated);
            t.Kind = TTok::Field;
            t.Text = S.substr(i + 1, end - i - 1);
            i = end + 1;
        } else if (c == '\'' || c == '"') {
            t.Kind = TTok::String;
            ++i;
            while (true) {
                if (i >= S.size()) Fail(SFilterStringUnterminated);
                if (S[i] == c) {
                    if (i + 1 < S.size() && S[i + 1] == c) {
                        t.Text += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                t.Text += S[i++];
            }
        } else if (IsDigit(c) || (c == '.' && i + 1 < S.size() && IsDigit(S[i + 1]))) {
            t.Kind = TTok::Number;
            size_t start = i;
            while (i < S.size() && (IsDigit(S[i]) || S[i] == '.')) ++i;
            if (i < S.size() && (S[i] == 'e' || S[i] == 'E')) {
                size_t j = i + 1;
                if (j < S.size() && (S[j] == '+' || S[j] == '-')) ++j;
                if (j < S.size() && IsDigit(S[j])) {
                    i = j;
                    while (i < S.size() && IsDigit(S[i])) ++i;
                }
            }
            t.Text = S.substr(start, i - start);
        } else if (IsNameStart(c)) {
            t.Kind = TTok::Name;
            size_t start = i;
            while (i < S.size() && IsNameChar(S[i])) ++i;
            t.Text = S.substr(start, i - start);
        } else if (c == '=' ) {
            t.Kind = TTok::Op;
            t.Text = "=";
            ++i;
        } else if (c == '<' || c == '>') {
            t.Kind = TTok::Op;
            t.Text = c;
            ++i;
            if (i < S.size() && (S[i] == '=' || (c == '<' && S[i] == '>'))) t.Text += S[i++];
        } else if (c == '(' || c == ')') {
            t.Kind = c == '(' ? TTok::LParen : TTok::RParen;
            t.Text = c;
            ++i;
        } else if (c == '-') {
            t.Kind = TTok::Minus;
            t.Text = "-";
            ++i;
        } else {
            Fail(SFilterInvalidChar, std::string(1, c));
        }
        out.push_back(std::move(t));
    }
}

bool IsWord(const TToken& T, const char* W) { return T.Kind == TTok::Name && SameName(T.Text, W); }

// What the parser holds between steps: a finished condition, a field or a constant.
struct TItem {
    enum { Condition, Field, Constant, Null } Kind = Condition;
    int Node = -1;      // condition node
    int FieldNo = -1;   // field
    TToken Source;      // constant token (String, Number, or TRUE/FALSE name)
    bool Negative = false;
};

class TParser {
public:
    TParser(const std::string& Text, const std::vector<TFieldDesc>& Fields, TFilterOptions Options)
        : FToks(Tokenize(Text)), FFields(Fields), FOptions(Options)
    {
    }

    TFilterExpr Run()
    {
        TItem root = ParseOr();
        if (Peek().Kind != TTok::End) Fail(SFilterTerminated);
        FExpr.SetRoot(AsCondition(root));
        return std::move(FExpr);
    }

private:
    const TToken& Peek() const { return FToks[FPos]; }
    TToken Take() { return FToks[FPos < FToks.size() - 1 ? FPos++ : FPos]; }

    static std::string Describe(const TToken& T)
    {
        switch (T.Kind) {
        case TTok::End: return "end of expression";
        case TTok::Field: return "[" + T.Text + "]";
        case TTok::String: return "'" + T.Text + "'";
        default: return "'" + T.Text + "'";
        }
    }

    TItem ParseOr()
    {
        TItem left = ParseAnd();
        while (IsWord(Peek(), "OR")) {
            Take();
            TItem right = ParseAnd();
            left = Binary(TExprOp::Or, left, right);
        }
        return left;
    }

    TItem ParseAnd()
    {
        TItem left = ParseNot();
        while (IsWord(Peek(), "AND")) {
            Take();
            TItem right = ParseNot();
            left = Binary(TExprOp::And, left, right);
        }
        return left;
    }

    TItem Binary(TExprOp Op, const TItem& L, const TItem& R)
    {
        TExprNode n;
        n.Op = Op;
        n.Left = AsCondition(L);
        n.Right = AsCondition(R);
        return Cond(FExpr.Add(std::move(n)));
    }

    static TItem Cond(int Node)
    {
        TItem i;
        i.Node = Node;
        return i;
    }

    // Nesting is bounded so that hostile texts cannot exhaust the stack.
    struct TNest {
        explicit TNest(int& Depth) : FDepth(++Depth)
        {
            if (Depth > MaxNesting) Fail(SFilterMalformed);
        }
        ~TNest() { --FDepth; }
        int& FDepth;
    };
    static constexpr int MaxNesting = 200;

    TItem ParseNot()
    {
        if (!IsWord(Peek(), "NOT")) return ParseComparison();
        Take();
        TNest nest(FDepth);
        TItem operand = ParseNot();
        TExprNode n;
        n.Op = TExprOp::Not;
        n.Left = AsCondition(operand);
        return Cond(FExpr.Add(std::move(n)));
    }

    TItem ParseComparison()
    {
        TItem left = ParseOperand();
        if (IsWord(Peek(), "IS")) {
            Take();
            bool negate = IsWord(Peek(), "NOT");
            if (negate) Take();
            if (!IsWord(Peek(), "NULL")) Fail(SFilterExprExpected, Describe(Peek()));
            Take();
            TItem null;
            null.Kind = TItem::Null;
            return Compare(negate ? "<>" : "=", left, null);
        }
        if (Peek().Kind != TTok::Op) return left;
        std::string op = Take().Text;
        TItem right = ParseOperand();
        return Compare(op, left, right);
    }

    TItem ParseOperand()
    {
        TToken t = Take();
        TItem item;
        switch (t.Kind) {
        case TTok::LParen: {
            TNest nest(FDepth);
            TItem inner = ParseOr();
            if (Peek().Kind != TTok::RParen) Fail(SFilterParenExpected, Describe(Peek()));
            Take();
            return Cond(AsCondition(inner));
        }
        case TTok::Field:
            item.Kind = TItem::Field;
            item.FieldNo = LookupField(t.Text);
            return item;
        case TTok::Name:
            if (IsWord(t, "NULL")) {
                item.Kind = TItem::Null;
                return item;
            }
            if (IsWord(t, "TRUE") || IsWord(t, "FALSE")) {
                item.Kind = TItem::Constant;
                item.Source = t;
                return item;
            }
            if (IsWord(t, "AND") || IsWord(t, "OR") || IsWord(t, "NOT") || IsWord(t, "IS"))
                Fail(SFilterExprExpected, Describe(t));
            item.Kind = TItem::Field;
            item.FieldNo = LookupField(t.Text);
            return item;
        case TTok::String:
        case TTok::Number:
            item.Kind = TItem::Constant;
            item.Source = t;
            return item;
        case TTok::Minus:
            if (Peek().Kind != TTok::Number) Fail(SFilterExprExpected, Describe(Peek()));
            item.Kind = TItem::Constant;
            item.Source = Take();
            item.Negative = true;
            return item;
        default: Fail(SFilterExprExpected, Describe(t));
        }
    }

    int LookupField(const std::string& Name)
    {
        for (size_t i = 0; i < FFields.size(); ++i)
            if (SameName(FFields[i].Name, Name)) {
                if (!Filterable(FFields[i].DataType)) Fail(SFilterBadField, Name);
                return static_cast<int>(i);
            }
        Fail(SFilterBadField, Name);
    }

    static bool Filterable(TFieldType T)
    {
        return (T >= ftString && T <= ftDateTime) || T == ftAutoInc || T == ftFixedChar || T == ftWideString ||
               T == ftLargeint;
    }

    // A field or a sub-expression standing where a condition is needed.
    int AsCondition(const TItem& I)
    {
        switch (I.Kind) {
        case TItem::Condition: return I.Node;
        case TItem::Field: {
            if (FFields[I.FieldNo].DataType != ftBoolean) Fail(SFilterNotBoolean, FFields[I.FieldNo].Name);
            TExprNode n;
            n.Op = TExprOp::BoolField;
            n.Field = I.FieldNo;
            return FExpr.Add(std::move(n));
        }
        default: Fail(SFilterMalformed);
        }
    }

    TItem Compare(const std::string& Op, TItem L, TItem R);
    TValue ConvertConstant(const TItem& C, TFieldType T);

    std::vector<TToken> FToks;
    size_t FPos = 0;
    int FDepth = 0;
    const std::vector<TFieldDesc>& FFields;
    TFilterOptions FOptions;
    TFilterExpr FExpr;
};

TExprOp OpOf(const std::string& Op)
{
    if (Op == "=") return TExprOp::Eq;
    if (Op == "<>") return TExprOp::Ne;
    if (Op == "<") return TExprOp::Lt;
    if (Op == ">") return TExprOp::Gt;
    if (Op == "<=") return TExprOp::Le;
    return TExprOp::Ge;
}

// The operator seen from the other side: 5 < [A] is [A] > 5.
TExprOp Mirror(TExprOp Op)
{
    switch (Op) {
    case TExprOp::Lt: return TExprOp::Gt;
    case TExprOp::Gt: return TExprOp::Lt;
    case TExprOp::Le: return TExprOp::Ge;
    case TExprOp::Ge: return TExprOp::Le;
    default: return Op;
    }
}

TItem TParser::Compare(const std::string& OpText, TItem L, TItem R)
{
    TExprOp op = OpOf(OpText);
    if (L.Kind == TItem::Condition || R.Kind == TItem::Condition) Fail(SFilterFieldAndConst);
    if (L.Kind == TItem::Null || R.Kind == TItem::Null) {
        if (op != TExprOp::Eq && op != TExprOp::Ne) Fail(SFilterNullOperator);
        const TItem& other = L.Kind == TItem::Null ? R : L;
        if (other.Kind != TItem::Field) Fail(SFilterFieldAndConst);
        TExprNode f;
        f.Op = TExprOp::Field;
        f.Field = other.FieldNo;
        TExprNode n;
        n.Op = op == TExprOp::Eq ? TExprOp::IsNull : TExprOp::IsNotNull;
        n.Left = FExpr.Add(std::move(f));
        return Cond(FExpr.Add(std::move(n)));
    }
    if (L.Kind == R.Kind) Fail(SFilterFieldAndConst);
    if (L.Kind == TItem::Constant) {
        std::swap(L, R);
        op = Mirror(op);
    }
    TFieldType type = FFields[L.FieldNo].DataType;
    TValue value = ConvertConstant(R, type);
    bool partial = false;
    if (value.Kind == TValueKind::Text && !(FOptions & FilterOpt(foNoPartialCompare)) && !value.Bytes.empty() &&
        value.Bytes.back() == '*' && (op == TExprOp::Eq || op == TExprOp::Ne)) {
        value.Bytes.pop_back();
        partial = true;
    }
    TExprNode f;
    f.Op = TExprOp::Field;
    f.Field = L.FieldNo;
    TExprNode c;
    c.Op = TExprOp::Const;
    c.Value = std::move(value);
    TExprNode n;
    n.Op = partial ? (op == TExprOp::Eq ? TExprOp::PartialEq : TExprOp::PartialNe) : op;
    n.CaseInsensitive = (FOptions & FilterOpt(foCaseInsensitive)) != 0;
    n.Left = FExpr.Add(std::move(f));
    n.Right = FExpr.Add(std::move(c));
    return Cond(FExpr.Add(std::move(n)));
}

bool ParseNumber(const std::string& Text, double& Value)
{
    if (Text.empty()) return false;
    char* end = nullptr;
    Value = std::strtod(Text.c_str(), &end);
    return end == Text.c_str() + Text.size() && std::isfinite(Value);
}

// ISO dates "yyyy-mm-dd" with an optional time "hh:nn[:ss]", or a time alone:
// accepted whatever the locale, since they cannot be misread.
bool ParseIsoDateTime(TFieldType T, const std::string& Text, double& Value)
{
    int y = 0, m = 0, d = 0, hh = 0, nn = 0, ss = 0, used = 0;
    auto timeOk = [&] { return hh >= 0 && hh < 24 && nn >= 0 && nn < 60 && ss >= 0 && ss < 60; };
    if (T == ftTime) {
        int n = std::sscanf(Text.c_str(), "%d:%d%n:%d%n", &hh, &nn, &used, &ss, &used);
        if (n < 2 || static_cast<size_t>(used) != Text.size() || !timeOk()) return false;
        Value = (hh * 3600 + nn * 60 + ss) / 86400.0;
        return true;
    }
    int n = std::sscanf(Text.c_str(), "%4d-%2d-%2d%n %d:%d%n:%d%n", &y, &m, &d, &used, &hh, &nn, &used, &ss, &used);
    if (n < 3 || n == 4 || static_cast<size_t>(used) != Text.size()) return false;
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > days[m - 1] || (m == 2 && d == 29 && !leap) || !timeOk()) return false;
    // Days from 1899-12-30 (days-from-civil).
    int yy = y - (m <= 2);
    int era = (yy >= 0 ? yy : yy - 399) / 400;
    int yoe = yy - era * 400;
    int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    long serial = static_cast<long>(era) * 146097 + doe - 719468 + 25569;
    Value = serial + (hh * 3600 + nn * 60 + ss) / 86400.0;
    return true;
}

// Date and time constants in the locale's formats, or ISO.
bool ParseDateTime(TFieldType T, const std::string& Text, double& Value)
{
    TDateTime v = 0;
    bool ok = T == ftDate ? TryStrToDate(Text, v) : T == ftTime ? TryStrToTime(Text, v) : TryStrToDateTime(Text, v);
    if (!ok && T == ftDateTime) ok = TryStrToDate(Text, v);
    if (ok) {
        Value = v;
        return true;
    }
    return ParseIsoDateTime(T, Text, Value);
}

TValue TParser::ConvertConstant(const TItem& C, TFieldType T)
{
    const TToken& t = C.Source;
    bool isNumber = t.Kind == TTok::Number;
    std::string text = (C.Negative ? "-" : "") + t.Text;
    switch (T) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
        if (t.Kind == TTok::Name) Fail(SFilterConstRange);
        return TValue::OfText(text);
    case ftBoolean:
        if (IsWord(t, "TRUE") || (t.Kind == TTok::String && SameName(t.Text, "TRUE"))) return TValue::OfBool(true);
        if (IsWord(t, "FALSE") || (t.Kind == TTok::String && SameName(t.Text, "FALSE"))) return TValue::OfBool(false);
        if (isNumber && (text == "0" || text == "1")) return TValue::OfBool(text == "1");
        Fail(SFilterConstRange);
    case ftDate:
    case ftTime:
    case ftDateTime: {
        double v;
        if (t.Kind == TTok::String ? ParseDateTime(T, t.Text, v) : (isNumber && ParseNumber(text, v)))
            return TValue::OfFloat(T == ftDate ? std::floor(v) : v);
        Fail(SFilterConstRange);
    }
    default: break;
    }
    double v;
    if (t.Kind == TTok::Name || !ParseNumber(text, v)) Fail(SFilterConstRange);
    if (StorageKind(T) != TValueKind::Integer) return TValue::OfFloat(v);
    double lo = -9.2e18, hi = 9.2e18;
    if (T == ftSmallint) lo = -32768, hi = 32767;
    else if (T == ftWord) lo = 0, hi = 65535;
    else if (T == ftInteger || T == ftAutoInc) lo = -2147483648.0, hi = 2147483647.0;
    if (v < lo || v > hi) Fail(SFilterConstRange);
    if (v == std::floor(v)) return TValue::OfInt(static_cast<int64_t>(v));
    return TValue::OfFloat(v);
}

} // namespace

TFilterExpr CompileFilter(const std::string& Text, const std::vector<TFieldDesc>& Fields, TFilterOptions Options)
{
    return TParser(Text, Fields, Options).Run();
}

} // namespace host::engine

#include "host/db/engine/FilterExpr.h"

#include <algorithm>

namespace host::engine {

int TFilterExpr::Add(TExprNode Node)
{
    FNodes.push_back(std::move(Node));
    return static_cast<int>(FNodes.size()) - 1;
}

bool TFilterExpr::Evaluate(const TRowAccess& Row) const { return FRoot < 0 || Eval(FRoot, Row); }

std::vector<int> TFilterExpr::FieldsUsed() const
{
    std::vector<int> out;
    for (const auto& n : FNodes)
        if ((n.Op == TExprOp::Field || n.Op == TExprOp::BoolField) &&
            std::find(out.begin(), out.end(), n.Field) == out.end())
            out.push_back(n.Field);
    return out;
}

bool TFilterExpr::Eval(int Node, const TRowAccess& Row) const
{
    const TExprNode& n = FNodes[Node];
    switch (n.Op) {
    case TExprOp::And: return Eval(n.Left, Row) && Eval(n.Right, Row);
    case TExprOp::Or: return Eval(n.Left, Row) || Eval(n.Right, Row);
    case TExprOp::Not: return !Eval(n.Left, Row);
    case TExprOp::IsNull: return Row.KindOf(FNodes[n.Left].Field) == TValueKind::Null;
    case TExprOp::IsNotNull: return Row.KindOf(FNodes[n.Left].Field) != TValueKind::Null;
    case TExprOp::BoolField: {
        TValueKind k = Row.KindOf(n.Field);
        if (k == TValueKind::Integer) return Row.IntOf(n.Field) != 0;
        return k == TValueKind::Float && Row.FloatOf(n.Field) != 0;
    }
    case TExprOp::Field:
    case TExprOp::Const: return false;
    default: return Compare(n, Row);
    }
}

namespace {

int CompareNumbers(double A, double B) { return A < B ? -1 : (A > B ? 1 : 0); }

} // namespace

bool TFilterExpr::Compare(const TExprNode& N, const TRowAccess& Row) const
{
    int field = FNodes[N.Left].Field;
    const TValue& c = FNodes[N.Right].Value;
    TValueKind k = Row.KindOf(field);
    if (k == TValueKind::Null || c.IsNull()) return false;
    TCollation coll = N.CaseInsensitive ? TCollation::NoCase : TCollation::Binary;
    int cmp;
    bool fieldText = k == TValueKind::Text || k == TValueKind::Blob;
    bool constText = c.Kind == TValueKind::Text || c.Kind == TValueKind::Blob;
    if (fieldText && constText) {
        if (N.Op == TExprOp::PartialEq) return HasPrefix(Row.BytesOf(field), c.Bytes, coll);
        if (N.Op == TExprOp::PartialNe) return !HasPrefix(Row.BytesOf(field), c.Bytes, coll);
        cmp = CompareText(Row.BytesOf(field), c.Bytes, coll);
    } else if (!fieldText && !constText) {
        if (k == TValueKind::Integer && c.Kind == TValueKind::Integer) {
            int64_t a = Row.IntOf(field);
            cmp = (a > c.Int) - (a < c.Int);
        } else {
            double a = k == TValueKind::Integer ? static_cast<double>(Row.IntOf(field)) : Row.FloatOf(field);
            cmp = CompareNumbers(a, c.AsFloat());
        }
    } else {
        // Stored values of another class than the field's type (plain SQL tables):
        // numbers order before texts, as the store orders them.
        cmp = fieldText ? 1 : -1;
    }
    switch (N.Op) {
    case TExprOp::Eq:
    case TExprOp::PartialEq: return cmp == 0;
    case TExprOp::Ne: return cmp != 0;
    case TExprOp::Lt: return cmp < 0;
    case TExprOp::Gt: return cmp > 0;
    case TExprOp::Le: return cmp <= 0;
    case TExprOp::Ge: return cmp >= 0;
    default: return false;
    }
}

} // namespace host::engine

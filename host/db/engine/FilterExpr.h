#pragma once
// Filter expression trees: what a compiled filter text becomes, copied into a
// cursor and evaluated against each candidate record.
#include <cstdint>
#include <vector>

#include "host/db/engine/Value.h"

namespace host {

enum TFilterOption : uint8_t { foCaseInsensitive, foNoPartialCompare };

} // namespace host

namespace host::engine {

using TFilterOptions = uint32_t;
constexpr TFilterOptions FilterOpt(TFilterOption O) { return 1u << O; }

enum class TExprOp : uint8_t {
    Field,     // a field's value (Field)
    Const,     // a constant (Value)
    Eq, Ne, Lt, Gt, Le, Ge,
    PartialEq, // the field's text begins with the constant
    PartialNe, // the field's text does not begin with the constant
    And, Or, Not,
    IsNull, IsNotNull,
    BoolField  // a Boolean field standing alone as a condition
};

struct TExprNode {
    TExprOp Op = TExprOp::Const;
    int Field = -1;   // field number for Field and BoolField nodes
    TValue Value;     // for Const nodes
    int Left = -1;    // operand nodes (indexes into the tree)
    int Right = -1;
    bool CaseInsensitive = false; // text comparisons fold ASCII case
};

// A self-contained tree (nodes refer to each other by index), cheap to copy.
// Comparisons are field-versus-constant with the constant already converted to
// the field's storage; a NULL field satisfies no comparison.
class TFilterExpr {
public:
    int Add(TExprNode Node);
    void SetRoot(int Node) { FRoot = Node; }
    int GetRoot() const { return FRoot; }
    const std::vector<TExprNode>& Nodes() const { return FNodes; }
    bool IsEmpty() const { return FRoot < 0; }

    bool Evaluate(const TRowAccess& Row) const;
    // The field numbers the expression reads.
    std::vector<int> FieldsUsed() const;

private:
    bool Eval(int Node, const TRowAccess& Row) const;
    bool Compare(const TExprNode& N, const TRowAccess& Row) const;

    std::vector<TExprNode> FNodes;
    int FRoot = -1;
};

} // namespace host::engine

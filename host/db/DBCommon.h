#pragma once
// TExprParser: a filter text compiled against a dataset's fields into the
// expression tree that the engine copies into its filters.
#include <string>

#include "host/db/DataSet.h"
#include "host/db/engine/FilterParser.h"

namespace host {

class TExprParser {
public:
    // Raises EFilterExprError (an Exception) for a text that does not compile.
    TExprParser(TDataSet* DataSet, const std::string& Text, TFilterOptions Options);
    const engine::TFilterExpr& GetFilterData() const { return FFilter; }
    // Number of nodes in the tree.
    int GetDataSize() const { return static_cast<int>(FFilter.Nodes().size()); }

private:
    engine::TFilterExpr FFilter;
};

} // namespace host

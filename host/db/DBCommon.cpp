#include "host/db/DBCommon.h"

namespace host {

TExprParser::TExprParser(TDataSet* DataSet, const std::string& Text, TFilterOptions Options)
{
    // The field list of the open table, or of the field definitions.
    std::vector<engine::TFieldDesc> fields;
    if (DataSet->GetCursor())
        fields = DataSet->GetCursor()->Table().GetDesc().Fields;
    else
        fields = DataSet->GetFieldDefs()->ToDesc();
    FFilter = engine::CompileFilter(Text, fields, static_cast<engine::TFilterOptions>(Options.ToInt()));
}

} // namespace host

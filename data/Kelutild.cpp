#include "data/Kelutild.h"

#include "host/rtl/DateTime.h"

namespace kel {

using namespace host;

bool Apollo_DB_Installed = false;

bool kelDataSetReadOnly(TDataSet* DataSet)
{
    if (!DataSet) return true;
    if (auto* t = dynamic_cast<TTable*>(DataSet)) return t->GetReadOnly();
    if (dynamic_cast<TQuery*>(DataSet) || dynamic_cast<TStoredProc*>(DataSet)) return !DataSet->CanModify();
    return true;
}

std::string kelMaxFieldType(TFieldType FieldType)
{
    switch (FieldType) {
    case ftString:
    case ftFixedChar:
    case ftWideString: return std::string(255, '\xFF');
    case ftSmallint: return "32767";
    case ftInteger: return "2147483647";
    case ftWord: return "65535";
    case ftBoolean: return "1";
    case ftFloat:
    case ftCurrency:
    case ftBCD: return "1.7E308";
    // The largest date the framework holds, so that an open end takes in every real date.
    case ftDate: return DateToStr(EncodeDate(9999, 12, 31));
    case ftTime: return TimeToStr(EncodeTime(23, 59, 59, 999));
    case ftDateTime: return DateTimeToStr(EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 59, 999));
    default: return {};
    }
}

std::string kelGetDataSetDesc(TDataSet* DataSet)
{
    if (!DataSet) return "nil";
    if (auto* t = dynamic_cast<TTable*>(DataSet)) return t->GetTableName();
    return DataSet->GetName();
}

std::string kelGetTableTypeMask(TTableType TableType)
{
    switch (static_cast<int>(TableType)) {
    case ttParadox: return "*.DB";
    case ttDBase:
    case 4:
    case 5:
    case 6: return "*.DBF";
    case ttASCII: return "*.TXT";
    default: return {};
    }
}

} // namespace kel

#include "host/rtl/SysUtils.h"

namespace host {

void Abort() { throw EAbort("Operation aborted"); }

} // namespace host

// Temporary: replaced by the full Format of the runtime library.
namespace host {
std::string Format(const std::string& Fmt, TVarRecs Args)
{
    std::string out;
    auto it = Args.begin();
    for (size_t i = 0; i < Fmt.size(); ++i) {
        if (Fmt[i] == '%' && i + 1 < Fmt.size() && it != Args.end()) {
            ++i;
            if (it->GetKind() == TVarRec::Kind::Integer) out += std::to_string(it->AsInteger());
            else out += it->AsString();
            ++it;
        } else {
            out += Fmt[i];
        }
    }
    return out;
}
} // namespace host

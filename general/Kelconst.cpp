#include "general/Kelconst.h"

#include "host/rtl/Resources.h"

namespace kel {

std::string kelFmtLoadStr(int Ident, host::TVarRecs Args) { return host::Format(host::LoadStr(Ident), Args); }

} // namespace kel

#include "host/gdi/ImageBytes.h"

#include "host/rtl/SysUtils.h"

namespace host {

void TByteReader::Need(size_t At, size_t Count) const
{
    if (At > FSize || Count > FSize - At)
        throw EInvalidGraphic(std::string("Invalid ") + FWhat + ": file is truncated");
}

} // namespace host

#include "solver/fp_env.h"

#include "solver/failures.h"

#include <fpu_control.h>

namespace parvolin::fp {

void establish_environment()
{
    fpu_control_t cw;
    _FPU_GETCW(cw);
    cw = (cw & ~(_FPU_EXTENDED | _FPU_DOUBLE | _FPU_SINGLE)) | _FPU_EXTENDED;
    // All exceptions stay masked: failures are found from the flags, never by traps.
    cw |= _FPU_MASK_IM | _FPU_MASK_DM | _FPU_MASK_ZM | _FPU_MASK_OM | _FPU_MASK_UM | _FPU_MASK_PM;
    _FPU_SETCW(cw);
    std::fesetround(FE_TONEAREST);
    clear();
}

void throw_for_flags(int flags)
{
    clear();
    if (flags & FE_INVALID)
        throw InvalidOperationError();
    if (flags & FE_DIVBYZERO)
        throw DivisionByZeroError();
    throw OverflowError();
}

} // namespace parvolin::fp

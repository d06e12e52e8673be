#include "solver/fp_env.h"

#include "solver/failures.h"

#if !PARVOLIN_SOFT_EXTENDED
#include <fpu_control.h>
#endif

namespace parvolin::fp {

void establish_environment()
{
#if !PARVOLIN_SOFT_EXTENDED
    fpu_control_t cw;
    _FPU_GETCW(cw);
    cw = (cw & ~(_FPU_EXTENDED | _FPU_DOUBLE | _FPU_SINGLE)) | _FPU_EXTENDED;
    // All exceptions stay masked: failures are found from the flags, never by traps.
    cw |= _FPU_MASK_IM | _FPU_MASK_DM | _FPU_MASK_ZM | _FPU_MASK_OM | _FPU_MASK_UM | _FPU_MASK_PM;
    _FPU_SETCW(cw);
#endif
    std::fesetround(FE_TONEAREST);
    clear();
}

void throw_for_flags(int flags)
{
    clear();
    if (flags & invalid)
        throw InvalidOperationError();
    if (flags & divide_by_zero)
        throw DivisionByZeroError();
    throw OverflowError();
}

} // namespace parvolin::fp

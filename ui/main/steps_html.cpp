#include "ui/main/steps_html.h"

#include "solver/math_html.h"

namespace parvolin {

QString math_html(const Math &math, bool stacked)
{
    return QString::fromStdString(math_to_html(math, stacked));
}

QString working_html(const Working &working)
{
    return QString::fromStdString(working_to_html(working));
}

} // namespace parvolin

#pragma once

#include "element.h"

namespace jukora::patch {

/// The narrow view of the preview that the placeholder rules read. The rules
/// never see a widget: the window answers these queries from its model.
class ElementQuery
{
public:
    virtual ~ElementQuery() = default;

    /// Left and Top in preview pixels of an element.
    virtual float left(int index) const = 0;
    virtual float top(int index) const = 0;
    /// Width of the album cover.
    virtual float coverWidth() const = 0;
    /// Alignment code of a label (AlignmentCode).
    virtual int alignment(int labelIndex) const = 0;
};

} // namespace jukora::patch

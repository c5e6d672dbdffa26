#pragma once

#include "elementquery.h"

#include <array>

namespace jukora::patch {

/// The part of a layout that a patch carries and the rules read: each
/// element's position, each label's alignment and the album cover's width.
/// Indices are element indices; slot 8 (no element) is unused.
struct Layout
{
    std::array<float, kElementSlots> left{};
    std::array<float, kElementSlots> top{};
    std::array<int, kElementSlots> alignment{};
    float coverWidth = 0;

    bool operator==(const Layout &) const = default;
};

/// The layout every start begins with.
const Layout &defaultLayout();

/// Answers the rules' queries from a layout held in memory: the command line
/// generates from one, with no window.
class LayoutQuery final : public ElementQuery
{
public:
    explicit LayoutQuery(const Layout &layout) : m_layout(layout) {}

    float left(int index) const override { return m_layout.left.at(slot(index)); }
    float top(int index) const override { return m_layout.top.at(slot(index)); }
    float coverWidth() const override { return m_layout.coverWidth; }
    int alignment(int labelIndex) const override { return m_layout.alignment.at(slot(labelIndex)); }

private:
    static std::size_t slot(int index) { return static_cast<std::size_t>(index); }

    const Layout &m_layout;
};

} // namespace jukora::patch

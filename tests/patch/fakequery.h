#pragma once

#include "elementquery.h"
#include "linesplitter.h"
#include "patchgenerator.h"

#include <array>

namespace jukora::test {

/// Element values set by hand, for the rules to read.
struct FakeQuery : patch::ElementQuery
{
    std::array<float, 14> lefts{};
    std::array<float, 14> tops{};
    std::array<int, 14> alignments{};
    float width = 150;

    float left(int index) const override { return lefts.at(static_cast<std::size_t>(index)); }
    float top(int index) const override { return tops.at(static_cast<std::size_t>(index)); }
    float coverWidth() const override { return width; }
    int alignment(int index) const override
    {
        return alignments.at(static_cast<std::size_t>(index));
    }
};

/// A template held in memory, run once through the check and the rewrite.
struct MemoryRun
{
    patch::PatchRun run;
    std::string patch;

    MemoryRun(std::string_view bytes, const patch::ElementQuery &query, std::int16_t selIndex = 0)
        : run(query, selIndex)
    {
        patch::forEachLine(bytes,
                           [&](std::string_view line, bool star) { run.line(line, star, patch); });
    }
};

} // namespace jukora::test

#pragma once
// How every kernel walks a run of points: blocks of one lane width, the last one partial.

#include <cstddef>

namespace orvek {
namespace {

// Calls block(done, n) for the blocks of Width consecutive indices from 0 up to count: done is
// the block's first index, n its number of indices (Width but for a partial last block).
template <std::size_t Width, class Block>
void forEachBlock(std::size_t count, Block block) {
    for (std::size_t done = 0; done < count; done += Width) block(done, count - done < Width ? count - done : Width);
}

}  // namespace
}  // namespace orvek

// The one walk along a PARENTCLASS chain that the description reader and
// the image lookups share. A description may name a parent that leads back
// into the chain; the walk stops at the first section it has seen before,
// so a loop of any length ends instead of recursing without end.
#pragma once

#include <algorithm>
#include <optional>
#include <vector>

// Try(node) on Start and then on each parent Next(node) names, until Try
// gives something other than Miss, Next gives no parent, or the chain comes
// back to a node already tried. Miss when nothing was found.
template <typename Node, typename Result, typename TryFn, typename NextFn>
Result WalkParentChain(Node Start, Result Miss, TryFn&& Try, NextFn&& Next) {
  std::vector<Node> seen;
  std::optional<Node> node(std::move(Start));
  while (node && std::find(seen.begin(), seen.end(), *node) == seen.end()) {
    Result found = Try(*node);
    if (found != Miss) return found;
    seen.push_back(*node);
    node = Next(seen.back());
  }
  return Miss;
}

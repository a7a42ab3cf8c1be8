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
  // Most walks end at their first or second section: those need no list.
  Result found = Try(Start);
  if (found != Miss) return found;
  std::optional<Node> node = Next(Start);
  if (!node || *node == Start) return Miss;
  std::vector<Node> seen{std::move(Start)};
  while (node && std::find(seen.begin(), seen.end(), *node) == seen.end()) {
    found = Try(*node);
    if (found != Miss) return found;
    seen.push_back(*node);
    node = Next(seen.back());
  }
  return Miss;
}

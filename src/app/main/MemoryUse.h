// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace torvane {

// Blocks of a megabyte and more (documents, their line tables, a run's
// result) are taken from the system and given back to it directly. The C
// library would otherwise raise that limit as such blocks come and go and
// keep the freed ones for later, so that a program of millions of lines
// ended up standing on the room of its predecessors: about a third more
// memory at the peak of a conversion. Call once, first thing.
void TakeLargeBlocksFromTheSystem();

}  // namespace torvane

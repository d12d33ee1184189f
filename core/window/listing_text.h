// SPDX-License-Identifier: MIT
// The lines of the listings and the summary, in the window's formats.
#pragma once

#include <cstdint>
#include <string>

#include "core/engine/recurrence.h"

namespace fibmod {

// The lines the window's listings are made of, each ended by CR LF.

// A term of a cycle: " 5".
void AppendTermLine(std::string& out, double term);
// A common member: its value, " bei ", its positions in sequence 1 and 2
// (" 2 bei  1 3").
void AppendMemberLine(std::string& out, const CommonMember& member);
// The summary's heading, between the members and the residues.
void AppendSummaryHeading(std::string& out);
// A residue of the summary: " 1".
void AppendResidueLine(std::string& out, std::int64_t residue);

} // namespace fibmod

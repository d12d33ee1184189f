// SPDX-License-Identifier: MIT
// The lines of the window's listings.
#include "core/window/listing_text.h"

#include "core/engine/number_rules.h"
#include "core/window/field_access.h"

namespace fibmod {

void AppendTermLine(std::string& out, double term) { out.append(NumberText(term)).append(kLineEnd); }

void AppendMemberLine(std::string& out, const CommonMember& member)
{
    out.append(NumberText(member.value))
        .append(" bei ")
        .append(NumberText(static_cast<double>(member.position1)))
        .append(NumberText(static_cast<double>(member.position2)))
        .append(kLineEnd);
}

void AppendSummaryHeading(std::string& out)
{
    out.append(kLineEnd).append(kLineEnd);
    out.append("Zusammenfassung:").append(kLineEnd);
    out.append("gemeinsam sind").append(kLineEnd);
    out.append("die Reste").append(kLineEnd);
    out.append(kLineEnd);
}

void AppendResidueLine(std::string& out, std::int64_t residue)
{
    out.append(NumberText(static_cast<double>(residue))).append(kLineEnd);
}

} // namespace fibmod

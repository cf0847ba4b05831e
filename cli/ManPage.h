#pragma once
// The manual page of orvek-batch, made from its help at build time (orvek-batch-manpage), so the
// page and the help cannot drift apart: every command's usage, summary, body and option table,
// the conventions and the exit statuses, in troff for man(1).

#include <string>

namespace orvek::cli {

// The page for this `version`; `more` is appended as it is (troff: examples, see also, licence).
std::string manPage(const std::string& version, const std::string& more);

}  // namespace orvek::cli

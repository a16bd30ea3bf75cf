#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace curvana {

// `curvana --eval EXPR [NAME=VALUE ...] [--explain]`: arguments are those after --eval.
// Compiles EXPR with the variables x, y, t, a (0 unless given) and the constant PI, evaluates it
// once and writes the value in the general format to out. --explain, anywhere, also writes the
// tokens after rewriting and the instructions. Exit code: 0 with a value, 1 when the evaluation
// fails ("evaluation failed" on out), 2 when compiling raises or an argument is wrong (on err).
int RunEvalCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// The text --help shows for --eval.
const char* EvalCommandHelp();

} // namespace curvana

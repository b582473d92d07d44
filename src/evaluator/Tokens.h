#pragma once
// Token codes of the expression lexer; any other token is the character itself.

namespace vyn {

enum ExprToken : int {
    tkEnd = 0,
    tkName = 257,
    tkEq = 258,         // =
    tkNe = 259,         // !=
    tkLt = 260,         // <
    tkGt = 261,         // >
    tkLe = 262,         // <=
    tkGe = 263,         // >=
    tkConst = 264,      // number or text literal
    tkConst2 = 265,     // declared by the grammar, never returned
    tkEmptyVector = 266 // {}
};

}  // namespace vyn

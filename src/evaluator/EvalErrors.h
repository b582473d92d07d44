#pragma once
// String-table ids of the evaluation errors. Messages with "%s" take the error's context.

namespace vyn {

enum EvalErrorId : int {
    kErrEmptyExpression = 1400,      // "Empty expression."
    kErrVarNotFound = 1401,          // "Variable "%s" not found."
    kErrVarNotVector = 1402,         // "Variable "%s" is not a vector."
    kErrValueNotVector = 1403,       // "Value is not a vector"
    kErrVarNotSimple = 1404,         // "Variable "%s" is not simple."
    kErrValueNotSimple = 1405,       // "Value is not simple."
    kErrVarNotNumeric = 1406,        // "Variable "%s" must be numeric."
    kErrValueNotNumeric = 1407,      // "Value must be numeric."
    kErrVarNotText = 1408,           // "Variable "%s" must be text."
    kErrValueNotText = 1409,         // "Value must be text."
    kErrSimpleWithVector = 1410,     // "Cannot combine simple value with a vector."
    kErrTextWithNumbers = 1411,      // "Cannot combine text with numbers."
    kErrTokenTooLong = 1412,         // "Token too long"
    kErrSyntax = 1413,               // "Syntax error."
    kErrInternal = 1414,             // "Internal error."
    kErrNumerical = 1415,            // "Numerical error."
    kErrStackOverflow = 1416,        // "Internal stack overflow."
    kErrStackUnderflow = 1417,       // "Internal stack underflow."
    kErrNumericalIn = 1418,          // "Numerical error in %s."
    kErrIncompatibleVectors = 1419,  // "Incomatible vektors."
    kErrInvalidOperation = 1422,     // "Invalid operation."
    kErrIndexOutOfRange = 1423,      // "Index out of range."
    kErrFunctionNotFound = 1424,     // "Function %s not found."
    kErrWrongArgument = 1430,        // "Wrong argument of "%s"."
    kErrWrongArgCount = 1431,        // "Wrong number of arguments in "%s"."
};

}  // namespace vyn

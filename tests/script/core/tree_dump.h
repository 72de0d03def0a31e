// Prints syntax trees as S-expressions so that tests can state the shape a source text parses to.
#pragma once

#include <string>

#include "script/core/tree.h"

namespace engine {

inline std::string DumpExpr(const TJExpr* e);
// A statement chain (following Next), one S-expression per statement, separated by blanks. With
// `lines`, each statement carries "@<line>".
inline std::string DumpStatements(const TJStatement* s, bool lines = false);

namespace dump_detail {

inline const char* OperatorName(TJExprCode code) {
  switch (code) {
    case ecComma: return ",";
    case ecAdd: return "+";
    case ecSub: return "-";
    case ecDiv: return "/";
    case ecMul: return "*";
    case ecMod: return "%";
    case ecIntDiv: return "div";
    case ecAssign: return "=";
    case ecMulAssign: return "*=";
    case ecDivAssign: return "/=";
    case ecAddAssign: return "+=";
    case ecSubAssign: return "-=";
    case ecModAssign: return "%=";
    case ecShlAssign: return "<<=";
    case ecShrAssign: return ">>=";
    case ecUShrAssign: return ">>>=";
    case ecAndAssign: return "&=";
    case ecXorAssign: return "^=";
    case ecOrAssign: return "|=";
    case ecPlus: return "u+";
    case ecMinus: return "u-";
    case ecPreInc: return "pre++";
    case ecPreDec: return "pre--";
    case ecPostInc: return "post++";
    case ecPostDec: return "post--";
    case ecDelete: return "delete";
    case ecVoid: return "void";
    case ecTypeof: return "typeof";
    case ecNot: return "!";
    case ecOr: return "||";
    case ecOrBoth: return "||both";
    case ecAnd: return "&&";
    case ecAndBoth: return "&&both";
    case ecShl: return "<<";
    case ecShr: return ">>";
    case ecUShr: return ">>>";
    case ecLess: return "<";
    case ecGreater: return ">";
    case ecLessEqual: return "<=";
    case ecGreaterEqual: return ">=";
    case ecEqual: return "==";
    case ecNotEqual: return "!=";
    case ecStrictEqual: return "===";
    case ecStrictNotEqual: return "!==";
    case ecBitAnd: return "&";
    case ecBitXor: return "^";
    case ecBitOr: return "|";
    case ecBitNot: return "~";
    case ecDeclare: return "var";
    default: return "?";
  }
}

inline std::string Constant(const TJValue& v) {
  switch (v.ValueType()) {
    case vtInteger: return std::to_string(v.vInteger());
    case vtDouble: return AsString(&v) + "d";
    case vtString: return "\"" + std::string(v.vString()) + "\"";
    case vtBool: return v.vBool() ? "true" : "false";
    case vtNull: return "null";
    case vtNaN: return "NaN";
    case vtInfinity: return v.vNegative() ? "-inf" : "inf";
    case vtRegExp: return "/" + std::string(v.vString()) + "/" + std::string(v.vRegExpFlags());
    default: return "<" + std::string(ValueTypeName(v.ValueType())) + ">";
  }
}

inline std::string Items(const TJExpr* e) {
  std::string s;
  for (const TJExpr* item : e->Items) s += " " + DumpExpr(item);
  return s;
}

inline std::string Opt(const TJExpr* e) { return e ? DumpExpr(e) : "-"; }

inline std::string Statement(const TJStatement* s, bool lines);

inline std::string Chain(const TJStatement* s, bool lines) {
  std::string out;
  for (; s; s = s->Next) out += " " + Statement(s, lines);
  return out;
}

inline std::string Function(const TJStatement* f, bool lines) {
  std::string s = "(function " + (f->Expr ? f->Expr->Symbol : std::string("-")) + " (";
  for (const TJStatement* p = f->First; p; p = p->Next) {
    if (p != f->First) s += " ";
    s += p->Expr ? p->Expr->Symbol : "-";
  }
  s += ")";
  if (f->Flags & sfUsesArguments) s += " uses-arguments";
  return s + Chain(f->Second, lines) + ")";
}

inline std::string Declarator(const TJStatement* d) {
  const TJExpr* name = d->Expr;
  return name->Left ? "(" + name->Symbol + " = " + DumpExpr(name->Left) + ")" : name->Symbol;
}

inline std::string Body(const TJStatement* s, bool lines) {
  std::string out;
  switch (s->Kind) {
    case skEmpty: return ";";
    case skModule: return "(module " + Opt(s->Expr) + Chain(s->First, lines) + ")";
    case skBlock: return "(block" + Chain(s->First, lines) + ")";
    case skExpression: return DumpExpr(s->Expr);
    case skIf:
      return "(if " + DumpExpr(s->Expr) + " " + Statement(s->First, lines) +
             (s->Second ? " " + Statement(s->Second, lines) : std::string()) + ")";
    case skWhile: return "(while " + DumpExpr(s->Expr) + " " + Statement(s->First, lines) + ")";
    case skDoWhile: return "(do " + Statement(s->First, lines) + " " + DumpExpr(s->Expr) + ")";
    case skFor:
      return "(for " + Opt(s->Expr) + " " + Opt(s->Second->Expr) + " " + Opt(s->Second->Next->Expr) + " " +
             Statement(s->First, lines) + ")";
    case skForIn:
    case skForInValues:
      return std::string(s->Kind == skForIn ? "(for-in " : "(for-in-values ") + DumpExpr(s->Expr) + " " +
             DumpExpr(s->Second->Expr) + " " + Statement(s->First, lines) + ")";
    case skFunction: return Function(s, lines);
    case skClass:
      return "(class " + s->Expr->Symbol + " " + (s->Expr->Left ? s->Expr->Left->Symbol : "-") +
             Chain(s->First, lines) + ")";
    case skDeclarator: return Declarator(s);
    case skVar:
    case skStatic:
    case skGlobal:
      out = s->Kind == skVar ? "(var" : s->Kind == skStatic ? "(static" : "(global";
      return out + Chain(s->First, lines) + ")";
    case skBreak: return "break";
    case skContinue: return "continue";
    case skReturn: return s->Expr ? "(return " + DumpExpr(s->Expr) + ")" : "(return)";
    case skThrow: return s->Expr ? "(throw " + DumpExpr(s->Expr) + ")" : "(throw)";
    case skTry:
      out = "(try " + Statement(s->First, lines);
      if (s->Second)
        out += " (catch " + (s->Second->Expr ? s->Second->Expr->Symbol : std::string("-")) + " " +
               Statement(s->Second->First, lines) + ")";
      if (s->Third) out += " (finally " + Statement(s->Third->First, lines) + ")";
      return out + ")";
    case skWith: return "(with " + DumpExpr(s->Expr) + " " + Statement(s->First, lines) + ")";
    case skSwitch: return "(switch " + DumpExpr(s->Expr) + Chain(s->First, lines) + ")";
    case skCase:
      return (s->Expr ? "(case " + DumpExpr(s->Expr) : std::string("(default")) + Chain(s->First, lines) + ")";
    default: return "<kind " + std::to_string(s->Kind) + ">";
  }
}

inline std::string Statement(const TJStatement* s, bool lines) {
  std::string body = Body(s, lines);
  return lines ? body + "@" + std::to_string(s->Line) : body;
}

}  // namespace dump_detail

inline std::string DumpExpr(const TJExpr* e) {
  using namespace dump_detail;
  if (!e) return "-";
  switch (e->Code) {
    case ecEmpty: return "(empty)";
    case ecConstant: return Constant(e->Value);
    case ecIdentifier: return e->Symbol;
    case ecThis: return "this";
    case ecMember: return "(. " + DumpExpr(e->Left) + " " + e->Right->Symbol + ")";
    case ecProperty: return "(prop " + DumpExpr(e->Left) + " " + Opt(e->Right) + ")";
    case ecSuperMember: return "(super. " + e->Right->Symbol + ")";
    case ecNew: return "(new " + e->Left->Symbol + Items(e) + ")";
    case ecObject: return "(object" + Items(e) + ")";
    case ecArray: return "(array" + Items(e) + ")";
    case ecCall: return "(call " + DumpExpr(e->Left) + Items(e) + ")";
    case ecMethodCall: return "(method " + DumpExpr(e->Left) + " " + e->Right->Symbol + Items(e) + ")";
    case ecConditional:
      return "(? " + DumpExpr(e->Left) + " " + DumpExpr(e->Right) + " " + DumpExpr(e->Third) + ")";
    case ecFunction: return Function(e->Func, false);
    default:
      if (e->Right) return "(" + std::string(OperatorName(e->Code)) + " " + DumpExpr(e->Left) + " " + DumpExpr(e->Right) + ")";
      return "(" + std::string(OperatorName(e->Code)) + " " + DumpExpr(e->Left) + ")";
  }
}

inline std::string DumpStatements(const TJStatement* s, bool lines) {
  using namespace dump_detail;
  std::string out = Chain(s, lines);
  return out.empty() ? out : out.substr(1);
}

}  // namespace engine

// Evaluation: expressions against their printed results, error messages, *error*, the depth
// limit, namespaces and the host-facing API.
#include <gtest/gtest.h>
#include <pthread.h>

#include "lisp/interpreter.h"

namespace lisp {
namespace {

struct Case {
  const wchar_t* source;
  const wchar_t* printed;
};

class Eval : public ::testing::Test {
 protected:
  // The prin1 text of the last value, or "error: message".
  std::wstring run(std::wstring_view source) {
    try {
      return prin1String(in.evalString(source));
    } catch (const Error& e) {
      return L"error: " + e.message();
    }
  }
  void expectAll(std::span<const Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(run(c.source), c.printed) << c.source;
  }

  Namespace ns;
  Interpreter in{ns};
};

TEST_F(Eval, Arithmetic) {
  const Case cases[] = {
      {L"(+ 1 2)", L"3"},
      {L"(+)", L"0"},
      {L"(+ 1 2.0)", L"3.0"},
      {L"(- 5)", L"-5"},
      {L"(- 10 1 2)", L"7"},
      {L"(* 2 3.5)", L"7.0"},
      {L"(/ 7 2)", L"3"},
      {L"(/ -7 2)", L"-3"},
      {L"(/ 7 2.0)", L"3.5"},
      {L"(+ 2147483647 1)", L"-2147483648"},
      {L"(* 65536 65536)", L"0"},
      {L"(1+ 2147483647)", L"-2147483648"},
      {L"(abs -2147483648)", L"-2147483648"},
      {L"(rem 7 3)", L"1"},
      {L"pi", L"3.14159"},
      {L"(cos pi)", L"-1.0"},
      {L"(rem -7 3)", L"-1"},
      {L"(rem 7.5 2)", L"1.5"},
      {L"(fix 3.7)", L"3"},
      {L"(fix -3.7)", L"-3"},
      {L"(fix 1e20)", L"1.0e+20"},
      {L"(float 3)", L"3.0"},
      {L"(sqrt 16)", L"4.0"},
      {L"(expt 2 10)", L"1024"},
      {L"(expt 2 -1)", L"0"},
      {L"(expt 2.0 0.5)", L"1.41421"},
      {L"(atan 1 1)", L"0.785398"},
      {L"(atan 1)", L"0.785398"},
      {L"(exp 0)", L"1.0"},
      {L"(log 1)", L"0.0"},
      {L"(max 1 2.5 2)", L"2.5"},
      {L"(max 1 2.0)", L"2.0"},
      {L"(min 3 1 2)", L"1"},
      {L"(gcd 12 18)", L"6"},
      {L"(logand 12 10)", L"8"},
      {L"(logior 12 10)", L"14"},
      {L"(lsh 1 4)", L"16"},
      {L"(lsh 16 -4)", L"1"},
      {L"(~ 5)", L"-6"},
      {L"(boole 6 12 10)", L"6"},
      {L"(= 1 1.0)", L"T"},
      {L"(= 1 1 2)", L"nil"},
      {L"(/= 1 2)", L"T"},
      {L"(< 1 2 3)", L"T"},
      {L"(< 1 3 2)", L"nil"},
      {L"(>= 3 3 1)", L"T"},
      {L"(= \"a\" \"a\")", L"T"},
      {L"(< \"a\" \"b\")", L"T"},
      {L"(zerop 0.0)", L"T"},
      {L"(minusp -1)", L"T"},
      {L"(numberp \"1\")", L"nil"},
  };
  expectAll(cases);
}

TEST_F(Eval, Strings) {
  const Case cases[] = {
      {L"(strcat \"a\" \"b\" \"中\")", L"\"ab中\""},
      {L"(strlen \"abc\" \"de\")", L"5"},
      {L"(substr \"Hello\" 2 3)", L"\"ell\""},
      {L"(substr \"Hello\" 2)", L"\"ello\""},
      {L"(substr \"Hello\" 9)", L"\"\""},
      {L"(strcase \"abc\")", L"\"ABC\""},
      {L"(strcase \"ABC\" T)", L"\"abc\""},
      {L"(atoi \"12abc\")", L"12"},
      {L"(atoi \"abc\")", L"0"},
      {L"(atof \"1.5\")", L"1.5"},
      {L"(itoa -5)", L"\"-5\""},
      {L"(rtos 3.14159)", L"\"3.1416\""},
      {L"(rtos 2 2 2)", L"\"2.00\""},
      {L"(rtos 1234.5 1 2)", L"\"1.23E+03\""},
      {L"(distof \"1.5\")", L"1.5"},
      {L"(distof \"1.5x\")", L"nil"},
      {L"(chr 65)", L"\"A\""},
      {L"(ascii \"A\")", L"65"},
      {L"(ascii \"\")", L"0"},
      {L"(vl-string-search \"lo\" \"hello\")", L"3"},
      {L"(vl-string-search \"x\" \"hello\")", L"nil"},
      {L"(vl-string-subst \"L\" \"l\" \"hello\")", L"\"heLlo\""},
      {L"(vl-string-trim \" \" \"  ab  \")", L"\"ab\""},
      {L"(vl-string-left-trim \" \" \"  ab  \")", L"\"ab  \""},
      {L"(vl-string-right-trim \" \" \"  ab  \")", L"\"  ab\""},
      {L"(vl-string-translate \"abc\" \"xyz\" \"aabbcc\")", L"\"xxyyzz\""},
      {L"(vl-prin1-to-string \"a\\nb\")", LR"("\"a\\nb\"")"},
      {L"(vl-princ-to-string '(1 \"a\"))", LR"x("(1 a)")x"},
      {L"(read \"(a . b)\")", L"(A . B)"},
      {L"(read \"\")", L"nil"},
  };
  expectAll(cases);
}

TEST_F(Eval, Wcmatch) {
  struct Match {
    const wchar_t* text;
    const wchar_t* pattern;
    bool matches;
  };
  const Match cases[] = {
      {L"abc", L"abc", true},     {L"abc", L"ABC", false},   {L"abc", L"a*", true},
      {L"abc", L"*c", true},      {L"abc", L"a?c", true},    {L"abc", L"a?", false},
      {L"a1", L"@#", true},       {L"1a", L"@#", false},     {L"a-b", L"a.b", true},
      {L"axb", L"a.b", false},    {L"abc", L"x*,a*", true},  {L"abc", L"~a*", false},
      {L"xyz", L"~a*", true},     {L"b", L"[abc]", true},    {L"d", L"[a-c]", false},
      {L"d", L"[~a-c]", true},    {L"a*", L"a`*", true},     {L"ab", L"a`*", false},
      {L"a,b", L"a`,b", true},    {L"", L"*", true},         {L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", L"*a*a*a*a*a*a*a*c", false},
      {L"樓梯", L"樓*", true},
  };
  for (const Match& m : cases) {
    std::wstring src = L"(wcmatch \"" + std::wstring(m.text) + L"\" \"" + m.pattern + L"\")";
    EXPECT_EQ(run(src), m.matches ? L"T" : L"nil") << src;
  }
}

TEST_F(Eval, Lists) {
  const Case cases[] = {
      {L"(cons 1 2)", L"(1 . 2)"},
      {L"(cons 1 '(2))", L"(1 2)"},
      {L"'(1 2 . 3)", L"(1 2 . 3)"},
      {L"(list 1 \"a\" 'b 2.5)", L"(1 \"a\" B 2.5)"},
      {L"(list)", L"nil"},
      {L"(append '(1) '(2 3) nil)", L"(1 2 3)"},
      {L"(length '(1 2 3))", L"3"},
      {L"(nth 1 '(a b c))", L"B"},
      {L"(nth 5 '(a))", L"nil"},
      {L"(reverse '(1 2 3))", L"(3 2 1)"},
      {L"(last '(1 2 3))", L"3"},
      {L"(member 2 '(1 2 3))", L"(2 3)"},
      {L"(member 5 '(1 2 3))", L"nil"},
      {L"(assoc \"b\" '((\"a\" . 1) (\"b\" . 2)))", L"(\"b\" . 2)"},
      {L"(assoc 8 '((0 . \"LINE\") (8 . \"0\")))", L"(8 . \"0\")"},
      {L"(subst 'x 'b '(a b (b c)))", L"(A X (X C))"},
      {L"(car nil)", L"nil"},
      {L"(cadr '(1 2 3))", L"2"},
      {L"(cddr '(1 2 3))", L"(3)"},
      {L"(caddr '(1 2 3))", L"3"},
      {L"(cadddr '(1 2 3 4))", L"4"},
      {L"(caar '((1) 2))", L"1"},
      {L"(vl-position 3 '(1 2 3))", L"2"},
      {L"(vl-remove 2 '(1 2 3 2))", L"(1 3)"},
      {L"(vl-sort '(3 1 2) '<)", L"(1 2 3)"},
      {L"(vl-sort '(\"b\" \"c\" \"a\") (function (lambda (a b) (> a b))))", L"(\"c\" \"b\" \"a\")"},
      {L"(acad_strlsort '(\"b\" \"a\" \"c\"))", L"(\"a\" \"b\" \"c\")"},
      {L"(mapcar '+ '(1 2 3) '(10 20))", L"(11 22)"},
      {L"(mapcar (function (lambda (x) (* x x))) '(1 2 3))", L"(1 4 9)"},
      {L"(mapcar '(lambda (x) (1+ x)) '(1 2))", L"(2 3)"},
      {L"(apply '+ '(1 2 3))", L"6"},
      {L"(apply 'and '(1 nil))", L"nil"},
      {L"(equal '(1 (2 \"x\")) '(1 (2 \"x\")))", L"T"},
      {L"(eq '(1 2) '(1 2))", L"nil"},
      {L"(eq 'a 'A)", L"T"},
      {L"(equal 1.0 1.05 0.1)", L"T"},
      {L"(equal '(1.0 2.0) '(1.01 2.0) 0.1)", L"T"},
      {L"(mapcar 'type (list 1 1.0 \"s\" 'a '(1) car nil (lambda () 1)))",
       L"(INT REAL STR SYM LIST SUBR nil USUBR)"},
      {L"(atom 'a)", L"T"},
      {L"(listp nil)", L"T"},
      {L"(vl-consp nil)", L"nil"},
  };
  expectAll(cases);
}

TEST_F(Eval, FormsAndFunctions) {
  const Case cases[] = {
      {L"(setq a 1 b 2) (+ a b)", L"3"},
      {L"(defun g () 1)", L"G"},
      {L"(defun f (x / y) (setq y (* x 2)) y) (setq y 7) (list (f 3) y)", L"(6 7)"},
      {L"(defun f (x / y) y) (setq y 7) (f 1)", L"nil"},  // locals start as nil
      {L"(defun f (x) (setq x 5)) (setq x 1) (f 0) x", L"1"},
      {L"(defun f () 1) (defun f () 2) (f)", L"2"},
      {L"(defun fact (n) (if (< n 2) 1 (* n (fact (1- n))))) (fact 10)", L"3628800"},
      {L"(if nil 1 2)", L"2"},
      {L"(if nil 1)", L"nil"},
      {L"(cond ((= 1 2) 'a) ((= 1 1) 'b))", L"B"},
      {L"(cond (5))", L"5"},
      {L"(cond (nil 1))", L"nil"},
      {L"(setq i 0 s 0) (while (< i 5) (setq s (+ s i) i (1+ i))) s", L"10"},
      {L"(setq n 0) (repeat 4 (setq n (+ n 2))) n", L"8"},
      {L"(setq s 0 x 'old) (foreach x '(1 2 3) (setq s (+ s x))) (list s x)", L"(6 OLD)"},
      {L"(and 1 2)", L"T"},
      {L"(and)", L"T"},
      {L"(or nil 3)", L"T"},
      {L"(not nil)", L"T"},
      {L"((lambda (x) (* x 2)) 4)", L"8"},
      {L"(setq l (lambda (x) (+ x 1))) (l 5)", L"6"},
      {L"(defun-q dq (x) (+ x 1)) (dq 1)", L"2"},
      {L"(eval '(+ 1 2))", L"3"},
      {L"(set 'q 9) q", L"9"},
      {L"(boundp 'never-set)", L"nil"},
      {L"(setq zz 1) (boundp 'zz)", L"T"},
      {L"(setq zz 1 zz nil) (boundp 'zz)", L"nil"},
      {L"(progn 1 2 3)", L"3"},
      {L"(quote (a b))", L"(A B)"},
      {L"(vl-catch-all-error-message (vl-catch-all-apply '/ '(1 0)))", L"\"divide by zero\""},
      {L"(vl-catch-all-error-p (vl-catch-all-apply '+ '(1 2)))", L"nil"},
      {L"(vl-catch-all-apply '+ '(1 2))", L"3"},
      {L"(ver)", L"\"Visual LISP 2025 (en)\""},
      {L"t", L"T"},
      {L"(princ)", L""},
  };
  expectAll(cases);
}

TEST_F(Eval, ErrorMessages) {
  const Case cases[] = {
      {L"(+ 1 \"a\")", L"error: bad argument type: numberp: \"a\""},
      {L"(1+ 'x)", L"error: bad argument type: numberp: X"},
      {L"(foo)", L"error: no function definition: FOO"},
      {L"(/ 1 0)", L"error: divide by zero"},
      {L"(/ 1.0 0.0)", L"error: divide by zero"},
      {L"(rem 1 0)", L"error: divide by zero"},
      {L"(3 4)", L"error: bad function: 3"},
      {L"(setq v 3) (v)", L"error: bad function: 3"},
      {L"(car 1)", L"error: bad argument type: consp: 1"},
      {L"(strcat \"a\" 1)", L"error: bad argument type: stringp: 1"},
      {L"(nth \"a\" '(1))", L"error: bad argument type: fixnump: \"a\""},
      {L"(length '(1 . 2))", L"error: bad argument type: listp: (1 . 2)"},
      {L"(defun f2 (x) x) (f2)", L"error: too few arguments"},
      {L"(defun f2 (x) x) (f2 1 2)", L"error: too many arguments"},
      {L"(car)", L"error: too few arguments"},
      {L"(car '(1) 2)", L"error: too many arguments"},
      {L"(setq a)", L"error: too few arguments"},
      {L"(if)", L"error: too few arguments"},
      {L"(exit)", L"error: quit / exit abort"},
      {L"(quit)", L"error: quit / exit abort"},
      {L"(sqrt -1)", L"error: function undefined for argument: -1"},
      {L"(substr \"a\" 0)", L"error: bad argument value: positive fixnum: 0"},
      {L"(+ 1 2", L"error: malformed list on input"},
      {L")", L"error: extra right paren on input"},
      {L"(strcat \"abc)", L"error: malformed string on input"},
      {L"(1 . 2 3)", L"error: invalid dotted pair"},
      {L"(vl-sort '(3 1 2) 'nosuch)", L"error: no function definition: NOSUCH"},
  };
  expectAll(cases);
}

TEST_F(Eval, RunawayRecursionIsAnError) {
  EXPECT_EQ(run(L"(defun r (n) (r (1+ n))) (r 0)"), L"error: internal stack limit reached (simulated)");
  EXPECT_EQ(run(L"(defun r (n) (if (> n 0) (+ 1 (r (1- n))) 0)) (r 1000)"), L"1000");
  EXPECT_EQ(run(std::wstring(100000, L'(')), L"error: malformed list on input");
  EXPECT_EQ(run(std::wstring(100000, L'\'') + L"a"), L"error: malformed list on input");
  // After an error the depth is back to zero.
  EXPECT_EQ(in.depth, 0);
}

TEST_F(Eval, RunawayRecursionOnASmallStackIsAnError) {
  // A thread with a 1 MB stack reaches the end of its stack long before the depth limit.
  struct Job {
    Interpreter* in;
    std::wstring result;
  } job{&in, {}};
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 1 << 20);
  pthread_t thread;
  auto body = [](void* p) -> void* {
    auto* j = static_cast<Job*>(p);
    try {
      j->in->evalString(L"(defun r (n) (if (> n 0) (+ 1 (r (1- n))) 0)) (r 5000)");
    } catch (const Error& e) {
      j->result = e.message();
    }
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, body, &job), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  EXPECT_EQ(job.result, L"internal stack limit reached (simulated)");
}

TEST_F(Eval, HugeAndDeepListsLiveAndDie) {
  EXPECT_EQ(run(L"(setq l nil) (repeat 1000000 (setq l (cons 1 l))) (length l)"), L"1000000");
  EXPECT_EQ(run(L"(setq l nil) 1"), L"1");
  std::wstring deep = run(L"(setq x nil) (repeat 200000 (setq x (list x))) x");
  EXPECT_EQ(deep.size(), 200000u * 2 + 3);
  EXPECT_EQ(run(L"(setq x nil) 2"), L"2");
}

TEST_F(Eval, OutputGoesToTheSink) {
  std::wstring out;
  Interpreter::setOutput([&](std::wstring_view s) { out += s; });
  run(L"(princ \"a\\n\") (prin1 \"a\\n\") (print 1) (terpri) (prompt \"p\") (write-line \"w\")");
  Interpreter::setOutput(nullptr);
  EXPECT_EQ(out, L"a\n\"a\\n\"\n1 \npw\n");
}

TEST_F(Eval, ErrorHandlerIsCalledOnTheCommandLine) {
  in.evalString(L"(defun *error* (msg) (setq caught msg))");
  TopLevelResult r = in.runTopLevel(L"(car 1)");
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.message, L"bad argument type: consp: 1");
  EXPECT_EQ(prin1String(in.getGlobal(L"caught")), L"\"bad argument type: consp: 1\"");

  r = in.runTopLevel(L"(+ 1 2)");
  EXPECT_FALSE(r.failed);
  EXPECT_EQ(prin1String(r.value), L"3");

  // Plain evaluation leaves *error* alone, and so does vl-catch-all-apply.
  in.evalString(L"(setq caught nil)");
  EXPECT_THROW(in.evalString(L"(car 1)"), Error);
  EXPECT_FALSE(in.runTopLevel(L"(vl-catch-all-apply 'car '(1))").failed);
  EXPECT_TRUE(in.getGlobal(L"caught").isNil());
}

TEST_F(Eval, LocalErrorHandlerSeesTheFailingFunctionsLocals) {
  in.evalString(L"(defun cmd (/ *error* v) (defun *error* (m) (setq seen (list v m))) (setq v 42) (/ 1 0))");
  TopLevelResult r = in.runTopLevel(L"(cmd)");
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(prin1String(in.getGlobal(L"seen")), L"(42 \"divide by zero\")");
  EXPECT_TRUE(in.getGlobal(L"*error*").isNil());  // the local handler is gone again
}

TEST_F(Eval, FaultsInsideTheErrorHandlerAreSwallowed) {
  in.evalString(L"(defun *error* (msg) (setq got msg) (car 1))");
  TopLevelResult r = in.runTopLevel(L"(exit)");
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.message, L"quit / exit abort");
  EXPECT_EQ(prin1String(in.getGlobal(L"got")), L"\"quit / exit abort\"");
  // Even at the depth limit the handler still runs.
  r = in.runTopLevel(L"(defun r () (r)) (r)");
  EXPECT_EQ(r.message, L"internal stack limit reached (simulated)");
  EXPECT_EQ(prin1String(in.getGlobal(L"got")), L"\"internal stack limit reached (simulated)\"");
}

TEST_F(Eval, NamespacesKeepValuesApartAndShareBuiltins) {
  Namespace other;
  Interpreter second(other);
  in.evalString(L"(setq a 1) (defun f () 'one)");
  EXPECT_EQ(prin1String(second.evalString(L"(list a (boundp 'f) (car '(x)))")), L"(nil nil X)");
  in.setNamespace(other);
  EXPECT_TRUE(in.getGlobal(L"a").isNil());
  in.setNamespace(ns);
  EXPECT_EQ(prin1String(in.getGlobal(L"A")), L"1");
}

TEST_F(Eval, HostApi) {
  // A module function bound in the namespace, called under any letter case.
  in.setGlobal(L"k_Twice", Value::native(L"k_Twice", [](Interpreter&, std::span<const Value> a) {
                 return Value::integer(a[0].asInt() * 2);
               }));
  EXPECT_EQ(run(L"(k_twice 21)"), L"42");
  EXPECT_EQ(run(L"(type k_twice)"), L"EXRXSUBR");

  Interpreter::defineBuiltin(L"host-answer", [](Interpreter&, std::span<const Value>) { return Value::integer(42); });
  EXPECT_EQ(run(L"(host-answer)"), L"42");

  in.evalString(L"(defun add (a b) (+ a b))");
  Value args[] = {Value::integer(2), Value::integer(3)};
  EXPECT_EQ(in.call(L"ADD", args).asInt(), 5);
  EXPECT_EQ(in.call(L"+", args).asInt(), 5);
  EXPECT_EQ(in.apply(in.boundFunction(L"add"), args).asInt(), 5);
  EXPECT_TRUE(in.boundFunction(L"nothing").isNil());
  try {
    in.call(L"nothing", args);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), L"no function definition: NOTHING");
  }

  // A C++ exception in a host builtin arrives as a LISP error.
  Interpreter::defineBuiltin(L"host-throws", [](Interpreter&, std::span<const Value>) -> Value {
    throw std::runtime_error("broken");
  });
  EXPECT_EQ(run(L"(host-throws)"), L"error: broken");

  Value list = Value::makeList({Value::integer(1), Value::string(L"x"), Value::ename(0x1a2b)});
  EXPECT_EQ(list.listToVector().size(), 3u);
  EXPECT_EQ(prin1String(list), L"(1 \"x\" <Entity name: 1a2b>)");
}

TEST_F(Eval, RtosHookSuppliesDefaults) {
  Interpreter::setRtos([](double v, std::optional<int> mode, std::optional<int> prec) {
    return Interpreter::formatNumber(v, mode.value_or(2), prec.value_or(2));
  });
  EXPECT_EQ(run(L"(rtos 1.23456)"), L"\"1.23\"");
  Interpreter::setRtos(nullptr);
  EXPECT_EQ(run(L"(rtos 1.23456)"), L"\"1.2346\"");
}

}  // namespace
}  // namespace lisp

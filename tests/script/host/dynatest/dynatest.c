/* The shared library the foreign-call tests load: one export per argument and result letter. */
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#define EXPORT __attribute__((visibility("default")))

EXPORT unsigned char dt_char(unsigned char c) { return (unsigned char)(c + 1); }
EXPORT short dt_short(short a, short b) { return (short)(a * b); }
EXPORT int dt_long(int a, int b) { return a - b; }
EXPORT unsigned dt_unsigned(unsigned a) { return a * 2u; }
EXPORT int dt_bool(int a) { return a == 42; }
EXPORT long long dt_int64(long long a, long long b) { return a * b; }
EXPORT float dt_float(float a, float b) { return a / b; }
EXPORT double dt_double(double a, double b) { return a / b; }
EXPORT double dt_mixed(unsigned char c, short t, int l, long long i, float f, double d) {
  return c + t + l + (double)i + f + d;
}

EXPORT int dt_strlen(const char* s) { return s ? (int)strlen(s) : -1; }
/* Writes "<prefix><n>" into the caller's buffer of `size` bytes. */
EXPORT int dt_write(char* buffer, int size, const char* prefix, int n) {
  return buffer ? snprintf(buffer, (size_t)size, "%s%d", prefix, n) : -1;
}
EXPORT const char* dt_greeting(void) { return "hello from C"; }
EXPORT const char* dt_null_text(void) { return NULL; }

EXPORT int dt_wcslen(const wchar_t* s) { return s ? (int)wcslen(s) : -1; }
EXPORT const wchar_t* dt_wide(void) { return L"wide \u00e9\u3042"; }

/* By reference: each value doubled in place. */
EXPORT void dt_double_refs(unsigned char* c, short* t, int* l, long long* i) {
  if (c) *c = (unsigned char)(*c * 2);
  if (t) *t = (short)(*t * 2);
  if (l) *l = *l * 2;
  if (i) *i = *i * 2;
}

#pragma pack(push, 1)
struct dt_record {
  unsigned char c;
  short t;
  int l;
  long long i;
  float f;
  double d;
  char name[8];
  const char* text;
};
#pragma pack(pop)

/* Fills a packed record and answers its size; reads `text` if set. */
EXPORT int dt_fill_record(struct dt_record* r) {
  int had = r->text ? (int)strlen(r->text) : -1;
  r->c = 200;
  r->t = -300;
  r->l = 70000;
  r->i = 5000000000LL;
  r->f = 0.5f;
  r->d = 2.25;
  strcpy(r->name, "packed");
  r->text = "from C";
  return had * 1000 + (int)sizeof *r;
}

/* Only the ANSI-suffixed name exists. */
EXPORT int dt_nameA(int a) { return a + 1000; }

/* Variadic: the sum of `count` ints. */
EXPORT int dt_sum(int count, ...) {
  va_list ap;
  int total = 0;
  va_start(ap, count);
  for (int k = 0; k < count; ++k) total += va_arg(ap, int);
  va_end(ap);
  return total;
}

/* Pointers handed back as given. */
EXPORT void* dt_identity(void* p) { return p; }

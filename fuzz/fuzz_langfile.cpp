// The language files: both readers on any bytes, and what the language compiler
// accepts must read back without a fault (accept, then read).
#include "common/LangFile.h"
#include "common/LangSource.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  (void)lang::readLangFile(bytes);
  (void)lang::readForumTexts(bytes);
  const lang::CompiledLang compiled = lang::compileLangSource(bytes);
  if (compiled.error) return 0;
  const lang::LangRead read = lang::readLangFile(compiled.bytes);
  const lang::ForumRead forum = lang::readForumTexts(compiled.bytes);
  if (!read.ok() || !forum.ok()) {
    const lang::LangFailure& f = read.ok() ? *forum.failure : *read.failure;
    std::fprintf(stderr, "accepted source does not read back: %s\n", qPrintable(lang::describe(f)));
    std::abort();
  }
  return 0;
}

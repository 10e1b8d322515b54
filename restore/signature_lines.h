#pragma once
// The signature texts of a Sig.reg export: joining a text value that spans several physical
// lines onto one line (for the 98 family's editor), and reading the texts back out.
#include <string>
#include <vector>

namespace vorn {

// text: lines, each followed by CR LF. Every "text" string value (the value named text) that
// stays open at the end of its line is put on one line, its line breaks written as the four
// characters \r\n; empty lines outside such a value are dropped. Every other line keeps its
// own line end.
std::string JoinSignatureLines(const std::string& text);

struct SignatureText {
  std::string subkey;  // the signature's key below "signatures"
  std::string text;    // with real line breaks
  bool operator==(const SignatureText&) const = default;
};

// The "text" string values of the file's signature keys, in file order. A value may run over
// several lines; \r and \n escapes become line breaks, \\ and \" their characters.
std::vector<SignatureText> ReadSignatureTexts(const std::vector<std::string>& lines);

}  // namespace vorn

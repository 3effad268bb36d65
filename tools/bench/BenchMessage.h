// The benchmark messages, shared by the Wine benchmark and the native parser
// benchmark.
#pragma once
#include <cstddef>
#include <string>

// A message of about `bytes` bytes: paragraphs with bold, italic, a coloured
// run, a link and line breaks, cut at a paragraph boundary.
std::string MakeMessage(size_t bytes);

// The words of a message, tags dropped and white space between words made
// one blank: what a plain text control would show of it.
std::string MessageWords(const std::string& html);

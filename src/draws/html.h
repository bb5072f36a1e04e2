// A fetched page or file as text the draws reader takes: decoded by the
// charset it declares, and an HTML page's table rows made into lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace numbers {

enum class Charset { kUnknown, kUtf8, kGbk };

// The charset named by a Content-Type value ("text/html; charset=GBK"), or
// else by the page's own <meta charset=…> or <meta http-equiv … content=
// "…; charset=gb2312">, looked for in its first bytes. GBK, GB2312 and
// GB18030 all read as GBK.
Charset DeclaredCharset(std::string_view contentType, std::string_view body);

// HTML rather than CSV or plain text: the Content-Type says so, or the text
// holds an <html>, <body>, <table> or <tr> tag.
bool IsHtml(std::string_view contentType, std::string_view text);

// UTF-8 HTML as lines: tags dropped; each table row, <br>, <p> and block on a
// line of its own, its <td>/<th> cells separated by a tab (inside a cell a
// line break or block is a blank, so a row stays one line); <script> and
// <style> dropped with their content, as are comments; entities decoded
// (&nbsp; &amp; &lt; &gt; &quot; &apos; and &#NNN; &#xHH;); runs of white
// space one blank. The result holds no control character but tab and line
// feed, and is never longer than the input.
std::string HtmlToLines(std::string_view html);

// A fetched body as text for the reader: decoded by its declared charset
// (GBK, else UTF-8 when it is valid), else as core::DecodeText guesses; an
// HTML page through HtmlToLines. Nothing when the body is no text.
std::optional<std::string> PageText(std::string_view body, std::string_view contentType);

}  // namespace numbers

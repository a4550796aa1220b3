#pragma once

#include <string>
#include <string_view>

// The text of a question written in HTML or Markdown, as a test shows it:
// plain text. Learning platforms write every question of a GIFT export in
// HTML ("[html]<p dir="ltr">Stolica Polski?<br></p>"); the examinee should
// read "Stolica Polski?".

namespace kwizmar {

enum class TTextFormat { Plain, Html, Markdown };

struct TPlainText {
    std::string text;
    // What the markup holds that plain text can't show, in Polish, in the
    // accusative ("obraz (<img>)", "tabelę (<table>)"); empty when the text
    // converted.
    std::string refused;
};

// `text` in `format` as plain text; plain text comes back as it is.
//
// HTML: the tags are dropped, the words between them kept (the text of a
// link too); <br>, and the start and end of a block (<p>, <div>, <li>,
// <h1> … <h6>, <blockquote> …), is a space; comments, <script> and <style>
// go whole. A superscript is written with "^": x<sup>2</sup> is "x^2",
// x<sup>n+1</sup> "x^(n+1)"; a subscript stays as its text (H<sub>2</sub>O
// is "H2O"). Character references are decoded (ReadCharacterReference,
// HtmlEntities.h). A "<" that starts no tag ("2 < 3") is kept.
//
// Markdown: the emphasis marks ** * __ _ go where they are emphasis by
// Markdown's rules (they open at the start of a word and close at its end;
// "_" never inside a word), not a lone "*" as in "2 * 3"; `code` keeps its
// text, a link [text](address) its text, a backslash escape its character;
// headings (#), quotes (>) and list bullets (- + *) lose their marks. HTML
// within Markdown is then read as above.
//
// Both: whitespace (line breaks, &nbsp; and the other spaces) is one space,
// none at the ends; the invisible characters (soft hyphen, zero-width
// space and joiners, direction marks) are dropped.
//
// Refused, since the question means what they show: a picture (<img>,
// <picture>, <svg>, <canvas>, Markdown's ![…](…)), a table (<table>,
// Markdown's | --- | row), a film or a recording (<video>, <audio>), an
// embedded page or object (<iframe>, <object>, <embed>, <applet>), a formula
// in MathML (<math>) and a form's field (<input>, <select>, <textarea>).
// Formatting is no reason: <b>, <i>, <u>, <span style=…>, <font>, <a href>.
TPlainText ToPlainText(std::string_view text, TTextFormat format);

} // namespace kwizmar

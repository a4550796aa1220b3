#include "GiftMarkup.h"

#include <gtest/gtest.h>

using namespace kwizmar;

namespace {

struct TCase {
    const char* input;
    const char* text;
    const char* refused = "";
};

void Expect(TTextFormat format, const std::vector<TCase>& cases) {
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.input);
        const TPlainText got = ToPlainText(c.input, format);
        EXPECT_EQ(got.text, c.text);
        EXPECT_EQ(got.refused, c.refused);
    }
}

} // namespace

TEST(GiftMarkup, HtmlBecomesTheTextItShows) {
    Expect(
        TTextFormat::Html,
        {
            {"<p dir=\"ltr\" style=\"text-align: left;\">Jaka jest stolica Polski?<br></p>",
             "Jaka jest stolica Polski?"},
            {"<p>Pierwszy</p><p>drugi<br/>trzeci<BR >czwarty</p><ul><li>a</li><li>b</li></ul>",
             "Pierwszy drugi trzeci czwarty a b"},
            {"<h3>Tytuł</h3><div>treść</div>", "Tytuł treść"},
            {"Ja<b>ka</b> <i>jest</i> <span style=\"color: #ff0000\">stolica</span>?",
             "Jaka jest stolica?"},
            {"Zobacz <a href=\"https://pl.wikipedia.org/?a=1&amp;b=2\">artykuł</a>.",
             "Zobacz artykuł."},
            {"<p title='a > b'>Tekst</p>", "Tekst"},
            {"Ko<!-- uwaga <b> -->niec<script>alert('<p>')</script><style>p{}</style>", "Koniec"},
            {"Word: <o:p></o:p>tekst<![if !supportLists]>", "Word: tekst"},
            {"Ile to 2 < 3 i 5 > 4, a<b?", "Ile to 2 < 3 i 5 > 4, a<b?"},
            {"x<sup>2</sup> + 10<sup>23</sup> + x<SUP>n+1</SUP>, H<sub>2</sub>O",
             "x^2 + 10^23 + x^(n+1), H2O"},
            {"  Dużo \n\t odstępów&nbsp;&nbsp;i&#160;twarda\xC2\xA0spacja  ",
             "Dużo odstępów i twarda spacja"},
            {"mi\xC2\xAD\xE2\x80\x8Bkko&shy;&zwnj;", "mikko"},
        });
}

TEST(GiftMarkup, HtmlReferencesAreDecoded) {
    Expect(TTextFormat::Html,
           {
               {"&lt;b&gt; &amp; &quot;x&quot; &apos;y&#39;", "<b> & \"x\" 'y'"},
               {"W&oacute;d&#243;&#xF3;&#XF3;", "Wódóóó"},
               {"&Aogon;&aogon;&Cacute;&cacute;&Eogon;&eogon;&Lstrok;&lstrok;&Nacute;&nacute;"
                "&Sacute;&sacute;&Zacute;&zacute;&Zdot;&zdot;",
                "ĄąĆćĘęŁłŃńŚśŹźŻż"},
               {"&bdquo;cytat&rdquo; &ndash; &hellip; &euro; &le; &alpha; &#150;",
                "„cytat” – … € ≤ α –"},
               {"&amp;lt; &nieznana; &amp &#; &#x; &#12a; AT&T", "&lt; &nieznana; &amp &#; &#x; "
                                                                 "&#12a; AT&T"},
               {"&#0;&#xD800;&#99999999999;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
           });
}

TEST(GiftMarkup, MarkdownLosesItsMarks) {
    Expect(TTextFormat::Markdown,
           {
               {"**Pogrubione**, *kursywa*, __też__ i _ta_ oraz ***obie***",
                "Pogrubione, kursywa, też i ta oraz obie"},
               {"**Stolica *Polski***?", "Stolica Polski?"},
               {"Ile to 2 * 3 * 4? a 5*3?", "Ile to 2 * 3 * 4? a 5*3?"},
               {"zmienna_z_podkreśleniem i **niezamknięte", "zmienna_z_podkreśleniem i "
                                                            "**niezamknięte"},
               {"\\*nie kursywa\\* i \\\\", "*nie kursywa* i \\"},
               {"Kod `a * b_c` i ``x`y``", "Kod a * b_c i x`y"},
               {"[Wikipedia](https://pl.wikipedia.org/wiki/Wisła) i <https://example.pl/a_b_>",
                "Wikipedia i https://example.pl/a_b_"},
               {"# Nagłówek #\n## C#\n> cytat\n- punkt\n* drugi\n1. numer\n\n---\nkoniec",
                "Nagłówek C# cytat punkt drugi 1. numer koniec"},
               {"HTML w środku: <b>tak</b> &amp; &lt;", "HTML w środku: tak & <"},
           });
}

TEST(GiftMarkup, WhatOnlyTheMarkupShowsIsRefused) {
    const std::vector<TCase> html = {
        {"<p>Co to?</p><img src=\"@@PLUGINFILE@@/x.png\" alt=\"x\">", "", "obraz (<img>)"},
        {"<IMG SRC=x.png>", "", "obraz (<img>)"},
        {"<table><tr><td>1</td></tr></table>", "", "tabelę (<table>)"},
        {"<video src=a.mp4></video>", "", "film (<video>)"},
        {"<audio controls>", "", "nagranie dźwiękowe (<audio>)"},
        {"<iframe src=x></iframe>", "", "osadzoną stronę (<iframe>)"},
        {"<object data=x></object>", "", "osadzony obiekt (<object>)"},
        {"<math><mi>x</mi></math>", "", "wzór w MathML (<math>)"},
        {"<svg></svg>", "", "rysunek (<svg>)"},
        {"Wpisz: <input type=text>", "", "pole formularza (<input>)"},
    };
    Expect(TTextFormat::Html, html);
    Expect(TTextFormat::Markdown,
           {
               {"Co to? ![wykres](@@PLUGINFILE@@/x.png)", "", "obraz (![…](…))"},
               {"| a | b |\n|---|:-:|\n| 1 | 2 |", "", "tabelę (| --- |)"},
               {"Obraz w HTML: <img src=x.png>", "", "obraz (<img>)"},
               {"Tylko ![to] nie obraz", "Tylko ![to] nie obraz"},
           });
}

TEST(GiftMarkup, PlainTextStaysAsItIs) {
    Expect(TTextFormat::Plain, {{" <b>&amp; **x** ", " <b>&amp; **x** "}});
}

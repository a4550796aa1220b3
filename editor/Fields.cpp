#include "Fields.h"

#include "AnswerLetters.h"
namespace kwizmar {

namespace {

TQuestion& QuestionOf(TTestDocument& doc, TFieldRef ref) {
    return doc.questions.at(static_cast<std::size_t>(ref.question));
}

const TQuestion& QuestionOf(const TTestDocument& doc, TFieldRef ref) {
    return doc.questions.at(static_cast<std::size_t>(ref.question));
}

constexpr const char* kSelfAnswerPrefix = "TAK - ";

} // namespace

std::string FieldText(const TTestDocument& doc, TFieldRef ref) {
    switch (ref.field) {
    case TField::Description:
        return doc.description;
    case TField::Name:
        return NameOfLine(doc.nameLine);
    case TField::Author:
        return doc.author;
    case TField::Date:
        return doc.createdDate;
    case TField::MaxPoints:
        // No sum while a question's points are no number: nothing to show
        // (the error stands beside those points).
        if (!doc.maxPointsByHand && !PointsSum(doc))
            return {};
        return MaxPointsLine(doc);
    case TField::Questions:
        return {};
    case TField::Text:
        return QuestionOf(doc, ref).text;
    case TField::Answer:
        return QuestionOf(doc, ref).answers.at(static_cast<std::size_t>(ref.answer));
    case TField::CorrectLetter:
        return QuestionOf(doc, ref).correctLetter;
    case TField::Points:
        return QuestionOf(doc, ref).points;
    case TField::SelfAnswer:
        return ParseSelfAnswerLine(QuestionOf(doc, ref).selfAnswerLine).hasSelfAnswer ? "TAK"
                                                                                      : "NIE";
    case TField::Bonus:
        return ParseSelfAnswerLine(QuestionOf(doc, ref).selfAnswerLine).selfAnswerExtra;
    }
    return {};
}

void SetFieldText(TTestDocument& doc, TFieldRef ref, const std::string& text) {
    switch (ref.field) {
    case TField::Description:
        doc.description = text;
        break;
    case TField::Name:
        doc.nameLine = LineOfName(text);
        break;
    case TField::Author:
        doc.author = text;
        break;
    case TField::Date:
        doc.createdDate = text;
        break;
    case TField::MaxPoints:
        doc.maxPointsByHand = text;
        break;
    case TField::Questions:
        break;
    case TField::Text:
        QuestionOf(doc, ref).text = text;
        break;
    case TField::Answer:
        QuestionOf(doc, ref).answers.at(static_cast<std::size_t>(ref.answer)) = text;
        break;
    case TField::CorrectLetter:
        QuestionOf(doc, ref).correctLetter = text;
        break;
    case TField::Points:
        QuestionOf(doc, ref).points = text;
        break;
    case TField::SelfAnswer: {
        std::string& line = QuestionOf(doc, ref).selfAnswerLine;
        if (text != "TAK")
            line = "NIE";
        else if (!ParseSelfAnswerLine(line).hasSelfAnswer)
            line = std::string(kSelfAnswerPrefix) + "1";
        break;
    }
    case TField::Bonus:
        QuestionOf(doc, ref).selfAnswerLine = kSelfAnswerPrefix + text;
        break;
    }
}

std::string FieldName(TFieldRef ref) {
    const std::string of = " pytania " + std::to_string(ref.question + 1);
    switch (ref.field) {
    case TField::Description:
        return "opis testu";
    case TField::Name:
        return "nazwa testu";
    case TField::Author:
        return "autor";
    case TField::Date:
        return "data utworzenia";
    case TField::MaxPoints:
        return "maksymalna liczba punktów";
    case TField::Questions:
        return "lista pytań";
    case TField::Text:
        return "treść" + of;
    case TField::Answer:
        return std::string("odpowiedź ") + kAnswerCapitals[ref.answer] + of;
    case TField::CorrectLetter:
        return "poprawna odpowiedź" + of;
    case TField::Points:
        return "punkty" + of;
    case TField::SelfAnswer:
        return "odpowiedź samodzielna" + of;
    case TField::Bonus:
        return "dodatkowe punkty" + of;
    }
    return {};
}

} // namespace kwizmar

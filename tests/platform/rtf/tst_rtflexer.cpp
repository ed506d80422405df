// The lexer's tokens on their own: where each one ends decides what the reader sees, and a
// token cut one byte off shifts every one after it.
#include "rtflexer.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using korvelan::rtf::Lexer;
using korvelan::rtf::Token;
using korvelan::rtf::Word;

namespace {

QString wordName(Word word)
{
    switch (word) {
    case Word::B: return u"b"_s;
    case Word::Fs: return u"fs"_s;
    case Word::Li: return u"li"_s;
    case Word::Par: return u"par"_s;
    case Word::Unknown: return u"?"_s;
    default: return u"word"_s + QString::number(int(word));
    }
}

// The tokens of the input, one short text each, separated by spaces.
QString tokens(const QByteArray &input)
{
    Lexer lexer(input);
    QStringList out;
    for (Token token = lexer.next(); token.kind != Token::Kind::End; token = lexer.next()) {
        const QString param = token.hasParam ? QString::number(token.param) : QString();
        switch (token.kind) {
        case Token::Kind::End: break;
        case Token::Kind::OpenGroup: out << u"{"_s; break;
        case Token::Kind::CloseGroup: out << u"}"_s; break;
        case Token::Kind::ControlWord: out << u"\\"_s + wordName(token.word) + param; break;
        case Token::Kind::Unicode: out << u"U"_s + param; break;
        case Token::Kind::ControlSymbol:
            out << u"S"_s + (token.symbol == '\n' ? u"NL"_s : QString(QChar(char16_t(token.symbol))));
            break;
        case Token::Kind::Character: out << u"#"_s + QString::number(token.symbol, 16); break;
        case Token::Kind::Text: out << u"'"_s + QString::fromLatin1(token.bytes) + u"'"_s; break;
        case Token::Kind::Binary: out << u"B("_s + QString::fromLatin1(token.bytes) + u")"_s; break;
        }
    }
    return out.join(u' ');
}

} // namespace

class TestRtfLexer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tokens_data();
    void tokens();
};

void TestRtfLexer::tokens_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one space ends a word, the next is text") << "{\\b  x}"_ba << u"{ \\b ' x' }"_s;
    QTest::newRow("a word ends at a non-letter") << "\\par\\b0x"_ba << u"\\par \\b0 'x'"_s;
    QTest::newRow("negative parameter") << "\\li-360 x"_ba << u"\\li-360 'x'"_s;
    QTest::newRow("a minus without a digit is text") << "\\li-x"_ba << u"\\li '-x'"_s;
    QTest::newRow("parameters saturate") << "\\fs99999999999\\fs-99999999999"_ba << u"\\fs2147483647 \\fs-2147483647"_s;
    QTest::newRow("a word longer than any real one")
        << QByteArray("\\b" + QByteArray(32, 'b') + "1 x") << u"\\?1 'x'"_s;
    QTest::newRow("line ends belong to no token") << "a\r\nb\\\nc"_ba << u"'a' 'b' SNL 'c'"_s;
    QTest::newRow("hex characters") << "\\'e9\\'C9x"_ba << u"#e9 #c9 'x'"_s;
    QTest::newRow("broken hex characters are dropped") << "\\'g1\\'4x\\'4"_ba << u"'g1' 'x'"_s;
    QTest::newRow("unicode and its fallback") << "\\u-3913?\\u8217\\'92"_ba << u"U-3913 '?' U8217 #92"_s;
    QTest::newRow("binary bytes are raw") << "\\bin4 {}\\\\x"_ba << u"B({}\\\\) 'x'"_s;
    QTest::newRow("binary bytes stop at the end") << "\\bin10 ab"_ba << u"B(ab)"_s;
    QTest::newRow("binary without a count") << "\\bin x"_ba << u"B() 'x'"_s;
    QTest::newRow("control symbols") << "\\{\\}\\\\\\~\\*\\-"_ba << u"S{ S} S\\ S~ S* S-"_s;
    QTest::newRow("a backslash at the end") << "x\\"_ba << u"'x'"_s;
}

void TestRtfLexer::tokens()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QCOMPARE(::tokens(input), expected);
}

QTEST_APPLESS_MAIN(TestRtfLexer)
#include "tst_rtflexer.moc"

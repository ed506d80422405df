#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <string_view>

namespace korvelan::rtf {

// Control words the reader acts on. Every other word is read as Unknown and ignored.
// The control words stay grouped by their use, several a line.
// clang-format off
enum class Word : quint8 {
    Unknown,
    // Document
    Ansi, Ansicpg, Deff, Mac, Pc, Pca, U, Uc,
    // Destinations
    Colortbl, Field, Fldinst, Fldrslt, Fonttbl, Listtext, Pict, Pntext, Shppict, SkipGroup, Ud, Upr,
    // Font and colour tables
    Blue, Cpg, Fcharset, Fdecor, Fmodern, Fnil, Froman, Fscript, Fswiss, Ftech, Green, Red,
    // Character format
    B, Cb, Cf, F, Fs, Highlight, I, Nosupersub, Plain, Strike, Sub, Super, Ul, Ulnone, V,
    // Paragraph format
    Fi, Intbl, Li, Line, Par, Pard, Qc, Qd, Qj, Ql, Qr, Ri, Sa, Sb, Sl, Slmult, Tx,
    // Tables
    Cell, Cellx, Nestcell, Nestrow, Row, Trowd,
    // Characters
    Bullet, Emdash, Emspace, Endash, Enspace, Ldblquote, Lquote, Ltrmark, Qmspace, Rdblquote,
    Rquote, Rtlmark, Tab, Zwbo, Zwj, Zwnj,
    // Pictures
    Bin, Jpegblip, OtherBlip, Pichgoal, Picscalex, Picscaley, Picwgoal, Pngblip,
};
// clang-format on

Word lookupWord(std::string_view name);

// The value of a hex digit, or -1 for any other byte.
constexpr int hexValue(uchar c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

struct Token {
    enum class Kind : quint8 {
        End,           // no more input
        OpenGroup,     // {
        CloseGroup,    // }
        ControlWord,   // \word, \word-12: word, hasParam, param
        Unicode,       // \u-3913: a character as a signed UTF-16 unit; hasParam, param
        ControlSymbol, // \ and the character after it, neither a letter nor ': symbol
        Character,     // \'e9: the byte in symbol
        Text,          // bytes without braces, backslashes or line ends
        Binary,        // \bin12 and the 12 raw bytes after it, in bytes
    };
    Kind kind = Kind::End;
    Word word = Word::Unknown;
    bool hasParam = false;
    int param = 0;
    uchar symbol = 0;
    QByteArrayView bytes;
};

// Cuts RTF bytes into tokens. It keeps no state but its place: what a token means is the
// reader's business. Line ends between tokens belong to none, and a \' without two hex digits
// after it is dropped.
class Lexer {
public:
    explicit Lexer(QByteArrayView input);

    Token next();

private:
    bool control(Token &token);

    static bool isAsciiLetter(uchar c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isAsciiDigit(uchar c) { return c >= '0' && c <= '9'; }

    const uchar *m_pos;
    const uchar *m_end;
};

// Inline: the reader asks for every token, and a document holds hundreds of thousands of them.

inline Lexer::Lexer(QByteArrayView input)
    : m_pos(reinterpret_cast<const uchar *>(input.data())), m_end(m_pos + input.size())
{ }

inline Token Lexer::next()
{
    Token token;
    while (m_pos < m_end) {
        const uchar c = *m_pos;
        if (c == '{') {
            ++m_pos;
            token.kind = Token::Kind::OpenGroup;
            return token;
        }
        if (c == '}') {
            ++m_pos;
            token.kind = Token::Kind::CloseGroup;
            return token;
        }
        if (c == '\\') {
            ++m_pos;
            if (control(token))
                return token;
        } else if (c == '\r' || c == '\n') {
            ++m_pos;
        } else {
            const uchar *start = m_pos;
            const uchar *end = m_pos;
            while (end < m_end) {
                const uchar b = *end;
                if (b == '{' || b == '}' || b == '\\' || b == '\r' || b == '\n')
                    break;
                ++end;
            }
            m_pos = end;
            token.kind = Token::Kind::Text;
            token.bytes = QByteArrayView(start, end - start);
            return token;
        }
    }
    return token;
}

// What follows a backslash. False when it makes no token.
inline bool Lexer::control(Token &token)
{
    if (m_pos >= m_end)
        return false;
    if (*m_pos == '\'') {
        // A character given by its byte in the code page, as two hex digits.
        ++m_pos;
        const int high = m_pos < m_end ? hexValue(m_pos[0]) : -1;
        const int low = m_pos + 1 < m_end ? hexValue(m_pos[1]) : -1;
        if (high < 0 || low < 0) {
            if (high >= 0)
                ++m_pos;
            return false;
        }
        m_pos += 2;
        token.kind = Token::Kind::Character;
        token.symbol = uchar(high * 16 + low);
        return true;
    }
    if (!isAsciiLetter(*m_pos)) {
        token.kind = Token::Kind::ControlSymbol;
        token.symbol = *m_pos++;
        return true;
    }
    const uchar *start = m_pos;
    while (m_pos < m_end && isAsciiLetter(*m_pos))
        ++m_pos;
    // Words longer than any real one are read whole and ignored.
    const std::size_t length = std::size_t(m_pos - start);
    const std::string_view name(reinterpret_cast<const char *>(start), length <= 32 ? length : 0);

    bool negative = false;
    if (m_pos + 1 < m_end && *m_pos == '-' && isAsciiDigit(m_pos[1])) {
        negative = true;
        ++m_pos;
    }
    qint64 value = 0;
    while (m_pos < m_end && isAsciiDigit(*m_pos)) {
        if (value <= INT_MAX) // saturates; further digits are still read
            value = value * 10 + (*m_pos - '0');
        token.hasParam = true;
        ++m_pos;
    }
    value = std::min<qint64>(value, INT_MAX);
    token.param = int(negative ? -value : value);
    if (m_pos < m_end && *m_pos == ' ')
        ++m_pos; // the space that ends a word belongs to it
    token.word = name.empty() ? Word::Unknown : lookupWord(name);
    token.kind = Token::Kind::ControlWord;
    if (token.word == Word::U) {
        token.kind = Token::Kind::Unicode;
    } else if (token.word == Word::Bin) {
        // That many raw bytes follow, whatever they are.
        const qsizetype count = std::min<qsizetype>(std::max(token.hasParam ? token.param : 0, 0), m_end - m_pos);
        token.kind = Token::Kind::Binary;
        token.bytes = QByteArrayView(m_pos, count);
        m_pos += count;
    }
    return true;
}

} // namespace korvelan::rtf

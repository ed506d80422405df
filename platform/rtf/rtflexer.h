#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <string_view>

namespace korvelan::rtf {

// Control words the reader acts on. Every other word is read as Unknown and ignored.
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

Word lookupWord(std::string_view name);

// The value of a hex digit, or -1 for any other byte.
int hexValue(uchar c);

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
class Lexer
{
public:
    explicit Lexer(QByteArrayView input);

    Token next();

private:
    bool control(Token &token);

    const uchar *m_pos;
    const uchar *m_end;
};

} // namespace korvelan::rtf

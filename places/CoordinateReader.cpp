#include "places/CoordinateReader.h"

#include <QRegularExpression>

#include <cmath>
#include <vector>

namespace {

constexpr char kNumber[] = R"([-+]?\d+(?:\.\d+)?)";

// Quotes and marks as other programs and keyboards write them, in one spelling.
QString Normalized(const QString& text) {
    QString plain = text.trimmed();
    plain.replace(QChar(0x2212), QLatin1Char('-')); // minus sign
    plain.replace(QChar(0x00A0), QLatin1Char(' '));
    for (const QChar prime : {QChar(0x2032), QChar(0x2019), QChar(0x2018), QChar(0x00B4)})
        plain.replace(prime, QLatin1Char('\''));
    for (const QChar prime : {QChar(0x2033), QChar(0x201D), QChar(0x201C)})
        plain.replace(prime, QLatin1Char('"'));
    for (const QChar ring : {QChar(0x00BA), QChar(0x02DA)})
        plain.replace(ring, QChar(0x00B0));
    plain.replace(QStringLiteral("''"), QStringLiteral("\""));
    // "(48.8584, 2.2945)", as the map's title and many pages write a point.
    if ((plain.startsWith(QLatin1Char('(')) && plain.endsWith(QLatin1Char(')'))) ||
        (plain.startsWith(QLatin1Char('[')) && plain.endsWith(QLatin1Char(']'))))
        plain = plain.mid(1, plain.size() - 2).trimmed();
    return plain;
}

bool InRange(double latitude, double longitude) {
    return std::isfinite(latitude) && std::isfinite(longitude) && std::fabs(latitude) <= 90 &&
           std::fabs(longitude) <= 180;
}

std::optional<ReadPosition> Position(double latitude, double longitude,
                                     std::optional<int> zoom = std::nullopt) {
    if (!InRange(latitude, longitude))
        return std::nullopt;
    return ReadPosition{latitude, longitude, zoom};
}

// geo: addresses and the links web maps give; a link holds no blanks.
std::optional<ReadPosition> ReadLink(const QString& text) {
    if (text.contains(QLatin1Char(' ')))
        return std::nullopt;
    const QString number = QString::fromLatin1(kNumber);
    static const QRegularExpression geo(
        QStringLiteral("^geo:(%1),(%1)(?:,%1)?(?:[;?].*)?$").arg(number),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto match = geo.match(text); match.hasMatch())
        return Position(match.captured(1).toDouble(), match.captured(2).toDouble());

    static const QRegularExpression mapHash(QStringLiteral("#map=(\\d+)/(%1)/(%1)").arg(number));
    const auto hash = mapHash.match(text);
    std::optional<int> zoom;
    if (hash.hasMatch())
        zoom = hash.captured(1).toInt();

    static const QRegularExpression mlat(QStringLiteral("[?&]mlat=(%1)").arg(number));
    static const QRegularExpression mlon(QStringLiteral("[?&]mlon=(%1)").arg(number));
    const auto lat = mlat.match(text);
    const auto lon = mlon.match(text);
    if (lat.hasMatch() && lon.hasMatch())
        return Position(lat.captured(1).toDouble(), lon.captured(1).toDouble(), zoom);
    if (hash.hasMatch())
        return Position(hash.captured(2).toDouble(), hash.captured(3).toDouble(), zoom);

    // Search links: ?q=LAT,LON or ?ll=LAT,LON, the comma maybe encoded.
    static const QRegularExpression query(
        QStringLiteral("[?&](?:q|ll|query)=(%1)(?:,|%2C)(%1)(?:&|#|$)").arg(number),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto match = query.match(text); match.hasMatch())
        return Position(match.captured(1).toDouble(), match.captured(2).toDouble(), zoom);

    static const QRegularExpression at(
        QStringLiteral("@(%1),(%1)(?:,(\\d+(?:\\.\\d+)?)z)?").arg(number));
    if (const auto match = at.match(text); match.hasMatch()) {
        if (!match.captured(3).isEmpty())
            zoom = static_cast<int>(std::lround(match.captured(3).toDouble()));
        return Position(match.captured(1).toDouble(), match.captured(2).toDouble(), zoom);
    }
    return std::nullopt;
}

struct Token {
    enum Kind { Number, Degrees, Minutes, Seconds, Hemisphere, Separator };
    explicit Token(Kind what) : kind(what) {}
    Kind kind;
    double value = 0;
    bool hasSign = false;
    bool negative = false;
    bool hasFraction = false;
    QChar letter;       // N, S, E, W for a hemisphere
    bool tight = false; // a separator with no blank on either side
};

bool IsMark(const Token& token) {
    return token.kind == Token::Degrees || token.kind == Token::Minutes ||
           token.kind == Token::Seconds;
}

std::optional<std::vector<Token>> Tokens(const QString& text) {
    static const QRegularExpression number(QStringLiteral("\\G([-+]?)(\\d+(?:\\.\\d+)?)"));
    std::vector<Token> tokens;
    int i = 0;
    const int size = static_cast<int>(text.size());
    while (i < size) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (const auto match = number.match(text, i); match.hasMatch()) {
            // "3-7" is a slip for 37, not the pair (3, -7): a sign needs a gap before it.
            if (!match.captured(1).isEmpty() && i > 0 && text.at(i - 1).isDigit())
                return std::nullopt;
            Token token(Token::Number);
            token.value = match.captured(2).toDouble();
            token.hasSign = !match.captured(1).isEmpty();
            token.negative = match.captured(1) == QLatin1String("-");
            token.hasFraction = match.captured(2).contains(QLatin1Char('.'));
            tokens.push_back(token);
            i = static_cast<int>(match.capturedEnd());
            continue;
        }
        if (c == QChar(0x00B0) || c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            tokens.emplace_back(c == QChar(0x00B0)       ? Token::Degrees
                                : c == QLatin1Char('\'') ? Token::Minutes
                                                         : Token::Seconds);
            ++i;
            continue;
        }
        const QChar upper = c.toUpper();
        if (QStringLiteral("NSEW").contains(upper)) {
            const bool letterNext = i + 1 < size && text.at(i + 1).isLetter();
            const bool digitAround = i > 0 && text.at(i - 1).isDigit() && i + 1 < size &&
                                     text.at(i + 1).isDigit(); // "1e5" is no position
            if (letterNext || digitAround)
                return std::nullopt;
            Token token(Token::Hemisphere);
            token.letter = upper;
            tokens.push_back(token);
            ++i;
            continue;
        }
        if (c == QLatin1Char(',') || c == QLatin1Char(';')) {
            Token token(Token::Separator);
            token.tight =
                i > 0 && !text.at(i - 1).isSpace() && i + 1 < size && !text.at(i + 1).isSpace();
            tokens.push_back(token);
            ++i;
            continue;
        }
        return std::nullopt;
    }
    return tokens;
}

using Group = std::vector<Token>;

// Splits the tokens into the two coordinates; nothing when they are not two.
std::optional<std::vector<Group>> Split(const std::vector<Token>& tokens) {
    std::vector<Group> groups(1);
    int separators = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Token::Separator)
            continue;
        ++separators;
        // "37,5" may mean 37.5: a comma between bare digits splits only decimal numbers.
        const bool between = i > 0 && i + 1 < tokens.size() &&
                             tokens[i - 1].kind == Token::Number &&
                             tokens[i + 1].kind == Token::Number;
        if (tokens[i].tight && between && !(tokens[i - 1].hasFraction && tokens[i + 1].hasFraction))
            return std::nullopt;
    }
    if (separators > 1)
        return std::nullopt;

    bool hemispheres = false;
    bool marks = false;
    int numbers = 0;
    for (const Token& token : tokens) {
        hemispheres |= token.kind == Token::Hemisphere;
        marks |= IsMark(token);
        numbers += token.kind == Token::Number;
    }
    const bool prefixLetters = !tokens.empty() && tokens.front().kind == Token::Hemisphere;
    int numbersSeen = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        Group& current = groups.back();
        bool startNew = false;
        if (separators == 1) {
            startNew = token.kind == Token::Separator;
        } else if (hemispheres) {
            startNew = prefixLetters ? token.kind == Token::Hemisphere && !current.empty()
                                     : !current.empty() && current.back().kind == Token::Hemisphere;
        } else if (marks) {
            startNew = token.kind == Token::Number && i + 1 < tokens.size() &&
                       tokens[i + 1].kind == Token::Degrees && !current.empty();
        } else {
            startNew = token.kind == Token::Number && numbersSeen == numbers / 2 &&
                       numbers % 2 == 0 && !current.empty();
        }
        if (startNew)
            groups.emplace_back();
        if (token.kind != Token::Separator)
            groups.back().push_back(token);
        numbersSeen += token.kind == Token::Number;
    }
    if (groups.size() != 2 || groups[0].empty() || groups[1].empty())
        return std::nullopt;
    return groups;
}

struct Coordinate {
    double value = 0;
    QChar axis; // 'N' for a latitude, 'E' for a longitude, nothing when not said
};

// One coordinate: an optional hemisphere before or after, then degrees, minutes and
// seconds, each marked or in that order, only the last with a fraction.
std::optional<Coordinate> ReadGroup(Group group) {
    QChar letter;
    if (!group.empty() && group.front().kind == Token::Hemisphere) {
        letter = group.front().letter;
        group.erase(group.begin());
    }
    if (!group.empty() && group.back().kind == Token::Hemisphere) {
        if (!letter.isNull())
            return std::nullopt;
        letter = group.back().letter;
        group.pop_back();
    }
    double parts[3] = {0, 0, 0};
    int unit = -1;
    bool negative = false;
    bool sawFraction = false;
    for (std::size_t i = 0; i < group.size(); ++i) {
        const Token& token = group[i];
        if (token.kind != Token::Number)
            return std::nullopt;
        int next = unit + 1;
        if (i + 1 < group.size() && IsMark(group[i + 1])) {
            next = static_cast<int>(group[i + 1].kind) - static_cast<int>(Token::Degrees);
            ++i;
        }
        if (next <= unit || next > 2 || sawFraction)
            return std::nullopt;
        if (next > 0 && (token.hasSign || token.value >= 60))
            return std::nullopt;
        if (next == 0)
            negative = token.negative;
        parts[next] = token.value;
        sawFraction = token.hasFraction;
        unit = next;
    }
    if (unit < 0 || (negative && !letter.isNull()))
        return std::nullopt;
    Coordinate coordinate;
    coordinate.value = parts[0] + parts[1] / 60 + parts[2] / 3600;
    if (negative || letter == QLatin1Char('S') || letter == QLatin1Char('W'))
        coordinate.value = -coordinate.value;
    if (letter == QLatin1Char('N') || letter == QLatin1Char('S'))
        coordinate.axis = QLatin1Char('N');
    else if (!letter.isNull())
        coordinate.axis = QLatin1Char('E');
    return coordinate;
}

std::optional<ReadPosition> ReadPair(const QString& text) {
    const auto tokens = Tokens(text);
    if (!tokens)
        return std::nullopt;
    const auto groups = Split(*tokens);
    if (!groups)
        return std::nullopt;
    const auto first = ReadGroup((*groups)[0]);
    const auto second = ReadGroup((*groups)[1]);
    if (!first || !second)
        return std::nullopt;
    // Letters may name the longitude first; without them the latitude comes first.
    const bool swapped = first->axis == QLatin1Char('E') || second->axis == QLatin1Char('N');
    const Coordinate& latitude = swapped ? *second : *first;
    const Coordinate& longitude = swapped ? *first : *second;
    if (latitude.axis == QLatin1Char('E') || longitude.axis == QLatin1Char('N'))
        return std::nullopt;
    return Position(latitude.value, longitude.value);
}

} // namespace

std::optional<ReadPosition> ReadCoordinates(const QString& text) {
    const QString plain = Normalized(text);
    if (plain.isEmpty())
        return std::nullopt;
    if (auto link = ReadLink(plain))
        return link;
    return ReadPair(plain);
}

QString DecimalDegreesText(double degrees) {
    QString text = QString::number(degrees, 'f', 8);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

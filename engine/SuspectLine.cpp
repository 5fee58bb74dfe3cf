// SPDX-License-Identifier: GPL-3.0-or-later
#include "SuspectLine.h"

#include "FileNames.h"
#include "PathEscape.h"

#include <charconv>
#include <cstdio>

namespace engine {

namespace {

// std::to_chars formats as the "C" locale does, whatever the user's.
template <typename T, typename... TFormat> QByteArray ToChars(T value, TFormat... format) {
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, format...);
    return ec == std::errc() ? QByteArray(text, end - text) : QByteArray("0");
}

QByteArray Latin1(QLatin1StringView s) {
    return QByteArray(s.data(), s.size());
}

QByteArray Number(int64_t n) {
    return QByteArray::number(qlonglong(n));
}

// As "%.9g" always wrote it: nine significant digits.
QByteArray FailFraction(const TVerdict &v) {
    return ToChars(double(v.fail_fraction), std::chars_format::general, 9);
}

QByteArray PairsJson(const std::vector<TPairDeviation> &pairs) {
    QByteArray out = "[";
    for (const TPairDeviation &p : pairs) {
        if (out.size() > 1)
            out += ',';
        out += "{\"pair\":" + JsonString(p.pair) + ",\"file\":" + Figure(p.file) +
               ",\"reference\":" + Figure(p.reference) + '}';
    }
    return out + ']';
}

// The default tests' own fields: the same with and without the extended
// checks, so that a reader of one finds them in the other.
QByteArray DefaultJsonFields(const TVerdict &v) {
    if (v.test == TSuspectTest::Size)
        return ",\"file_size\":" + Number(v.file_size) +
               ",\"text_length\":" + Number(v.text_length);
    if (v.test == TSuspectTest::Digraph)
        return ",\"fail_fraction\":" + FailFraction(v) + ",\"too_many\":" + JsonString(v.too_many) +
               ",\"too_few\":" + JsonString(v.too_few);
    return {};
}

QByteArray ExtendedJsonFields(const TVerdict &v, TCheckResult result) {
    const bool tooShort = result == TCheckResult::TooShort;
    QByteArray out = ",\"status\":\"" + StatusName(result) + "\",\"test\":\"" +
                     (tooShort ? QByteArray("too-short") : Latin1(TestName(v.test))) +
                     "\",\"code\":" + JsonString(VerdictCode(v, tooShort));
    if (const int64_t at = DamageOffset(v); at >= 0)
        out += ",\"offset\":" + Number(at);
    if (!tooShort)
        out += DefaultJsonFields(v);
    if (!v.extended)
        return out;
    const TExtendedDetail &d = *v.extended;
    if (!d.set.isEmpty())
        out += ",\"set\":" + JsonString(d.set);
    if (d.score >= 0)
        out += ",\"score\":" + Figure(d.score);
    if (d.cut >= 0)
        out += ",\"cut\":" + Figure(d.cut);
    if (!d.nearer_set.isEmpty())
        out += ",\"nearer_set\":" + JsonString(d.nearer_set) +
               ",\"nearer_score\":" + Figure(d.nearer_score);
    if (tooShort || !d.set.isEmpty())
        out += ",\"digraphs\":" + Number(d.digraphs);
    if (v.test == TSuspectTest::Digraph && !tooShort)
        out += ",\"too_many_pairs\":" + PairsJson(d.too_many_pairs) +
               ",\"too_few_pairs\":" + PairsJson(d.too_few_pairs);
    if (d.damage && v.test != TSuspectTest::Damage && !tooShort)
        out += ",\"damage\":{\"code\":\"" + Latin1(DamageCodeName(d.damage->code)) + '"' +
               (d.damage->offset >= 0 ? ",\"offset\":" + Number(d.damage->offset) : QByteArray()) +
               ",\"reason\":" + JsonString(d.damage->reason) + '}';
    return out;
}

} // namespace

QByteArray SuspectLine(const QString &path, const TVerdict &verdict) {
    QByteArray line = suite::TsvPath(path);
    line += '\t';
    line += verdict.reason.toUtf8();
    line += '\n';
    return line;
}

QByteArray StatusName(TCheckResult result) {
    return result == TCheckResult::TooShort ? "too-short" : "suspect";
}

QByteArray Figure(double value) {
    return ToChars(value);
}

QByteArray Figure(float value) {
    return ToChars(value);
}

QByteArray JsonString(const QString &s) {
    QByteArray out = "\"";
    for (const char c : s.toUtf8()) {
        const unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", u);
                out += esc;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

QByteArray JsonLine(const QString &path, const TVerdict &verdict, bool extended,
                    TCheckResult result) {
    QByteArray out = '{' + JsonPathFields(path) + ",\"reason\":" + JsonString(verdict.reason);
    if (extended)
        out += ExtendedJsonFields(verdict, result);
    else
        out += ",\"test\":\"" + Latin1(TestName(verdict.test)) + '"' + DefaultJsonFields(verdict);
    return out + "}\n";
}

QByteArray TsvLine(const QString &path, const TVerdict &verdict, bool extended,
                   TCheckResult result) {
    QByteArray line = SuspectLine(path, verdict);
    if (!extended)
        return line;
    // After the reason, so that a reader of the two default columns still
    // finds them: status, code, offset, set, score, then damage found beside
    // the size test's or the digraph check's verdict (its code and reason);
    // empty when not known.
    const bool tooShort = result == TCheckResult::TooShort;
    line.chop(1);
    line += '\t' + StatusName(result) + '\t' + VerdictCode(verdict, tooShort).toUtf8() + '\t';
    if (const int64_t at = DamageOffset(verdict); at >= 0)
        line += Number(at);
    const TExtendedDetail none;
    const TExtendedDetail &d = verdict.extended ? *verdict.extended : none;
    line += '\t' + d.set.toUtf8() + '\t';
    if (d.score >= 0)
        line += Figure(d.score);
    line += '\t';
    if (d.damage && verdict.test != TSuspectTest::Damage && !tooShort)
        line += Latin1(DamageCodeName(d.damage->code)) + '\t' + d.damage->reason.toUtf8();
    else
        line += '\t';
    return line + '\n';
}

QByteArray JsonPathFields(const QString &path) {
    QByteArray out = "\"path\":" + JsonString(suite::DisplayFileName(path));
    if (suite::HasEscapedBytes(path))
        out += ",\"path_bytes\":\"" + suite::EncodeFileName(path).toBase64() + '"';
    return out;
}

} // namespace engine

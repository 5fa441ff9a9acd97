#include "app/CoordinateFields.h"

#include "places/CoordinateReader.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QValidator>
#include <algorithm>

namespace {

const char kShownText[] = "kartavoShownText";

int Utf8Size(const QString& text) {
    return static_cast<int>(text.toUtf8().size());
}

QString ShownText(const QLineEdit* field) {
    return field->property(kShownText).toString();
}

// A pair in the new text, or in the part of it that was just put in (a paste beside text
// that was already there).
std::optional<ReadPosition> PastedPosition(const QString& before, const QString& after) {
    if (auto whole = ReadCoordinates(after))
        return whole;
    qsizetype prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    if (inserted.isEmpty() || inserted == after)
        return std::nullopt;
    return ReadCoordinates(inserted);
}

// Refuses text the record check would not see whole, unless it brings a pair to be read.
class FieldLengthValidator : public QValidator {
public:
    explicit FieldLengthValidator(QLineEdit* field) : QValidator(field), m_field(field) {}
    State validate(QString& input, int&) const override {
        if (Utf8Size(input) <= kFieldTextBytes || PastedPosition(ShownText(m_field), input))
            return Acceptable;
        return Invalid;
    }

private:
    const QLineEdit* m_field;
};

class PairReader : public QObject {
public:
    PairReader(QLineEdit* latitude, QLineEdit* longitude)
        : QObject(latitude), m_latitude(latitude), m_longitude(longitude) {
        for (QLineEdit* field : {latitude, longitude}) {
            field->setValidator(new FieldLengthValidator(field));
            field->setProperty(kShownText, field->text());
            // textEdited comes before textChanged: the edit still sees the text before it.
            connect(field, &QLineEdit::textEdited, this,
                    [this, field](const QString& text) { OnEdited(field, text); });
            connect(field, &QLineEdit::textChanged, field,
                    [field](const QString& text) { field->setProperty(kShownText, text); });
            connect(field, &QLineEdit::editingFinished, this,
                    [this, field] { Fill(ReadCoordinates(field->text())); });
        }
    }

private:
    // More than one character at once is a paste (or a drop of text): read it now. A pair
    // typed by hand is read on Enter or when the field is left, so typing goes on undisturbed.
    void OnEdited(QLineEdit* field, const QString& text) {
        const QString before = ShownText(field);
        if (text.size() - before.size() > 1 || Utf8Size(text) > kFieldTextBytes)
            Fill(PastedPosition(before, text));
    }

    void Fill(const std::optional<ReadPosition>& position) {
        if (!position || !m_latitude || !m_longitude)
            return;
        m_latitude->setText(DecimalDegreesText(position->latitude));
        m_longitude->setText(DecimalDegreesText(position->longitude));
        // A map link's zoom is chosen as the user would choose it, which moves the map.
        QWidget* window = m_latitude->window();
        auto* zoom =
            window != nullptr ? window->findChild<QComboBox*>(QStringLiteral("zoom")) : nullptr;
        if (position->zoom && zoom != nullptr && zoom->count() > 0)
            zoom->setCurrentIndex(std::clamp(*position->zoom, 1, zoom->count()) - 1);
    }

    QPointer<QLineEdit> m_latitude;
    QPointer<QLineEdit> m_longitude;
};

} // namespace

void TeachCoordinateFields(QLineEdit* latitude, QLineEdit* longitude) {
    if (latitude && longitude)
        new PairReader(latitude, longitude); // owned by the latitude field
}

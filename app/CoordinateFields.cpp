#include "app/CoordinateFields.h"

#include "places/CoordinateReader.h"

#include <QLineEdit>
#include <QPointer>
#include <QValidator>

namespace {

int Utf8Size(const QString& text) {
    return static_cast<int>(text.toUtf8().size());
}

// Refuses text the record check would not see whole, unless it is a pair to be read.
class FieldLengthValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        if (Utf8Size(input) <= kFieldTextBytes || ReadCoordinates(input))
            return Acceptable;
        return Invalid;
    }
};

class PairReader : public QObject {
public:
    PairReader(QLineEdit* latitude, QLineEdit* longitude)
        : QObject(latitude), m_latitude(latitude), m_longitude(longitude) {
        for (QLineEdit* field : {latitude, longitude}) {
            field->setValidator(new FieldLengthValidator(field));
            field->setProperty("kartavoLastText", field->text());
            connect(field, &QLineEdit::textEdited, this,
                    [this, field](const QString& text) { OnEdited(field, text); });
            connect(field, &QLineEdit::editingFinished, this,
                    [this, field] { Fill(field->text()); });
        }
    }

private:
    // More than one character at once is a paste (or a drop of text): read it now. A pair
    // typed by hand is read when the field is left, so that typing goes on undisturbed.
    void OnEdited(QLineEdit* field, const QString& text) {
        const QString before = field->property("kartavoLastText").toString();
        field->setProperty("kartavoLastText", text);
        if (text.size() - before.size() > 1 || Utf8Size(text) > kFieldTextBytes)
            Fill(text);
    }

    void Fill(const QString& text) {
        const std::optional<ReadPosition> position = ReadCoordinates(text);
        if (!position || !m_latitude || !m_longitude)
            return;
        m_latitude->setText(DecimalDegreesText(position->latitude));
        m_longitude->setText(DecimalDegreesText(position->longitude));
        for (QLineEdit* field : {m_latitude.data(), m_longitude.data()})
            field->setProperty("kartavoLastText", field->text());
    }

    QPointer<QLineEdit> m_latitude;
    QPointer<QLineEdit> m_longitude;
};

} // namespace

void TeachCoordinateFields(QLineEdit* latitude, QLineEdit* longitude) {
    if (latitude && longitude)
        new PairReader(latitude, longitude); // owned by the latitude field
}

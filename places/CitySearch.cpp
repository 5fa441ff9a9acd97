#include "places/CitySearch.h"

#include "track/GeonamesLibrary.h"

#include <QLocale>

#include <algorithm>
#include <memory>

namespace {

struct City {
    QString name;
    QString region;
    QString country;
    QString countryCode;
    double latitude = 0;
    double longitude = 0;
    unsigned population = 0;
    int rank = 0; // 0 the whole name, 1 the name's beginning, 2 elsewhere
};

struct CityFree {
    void operator()(GeonamesCity* city) const { Geonames()->geonames_city_free(city); }
};
struct GFree {
    void operator()(gint* indexes) const { g_free(indexes); }
};

QString Fold(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded.append(c.toCaseFolded());
    }
    return folded.simplified();
}

City ReadCity(const GeonamesLibrary& geo, gint index, const QString& foldedQuery) {
    std::unique_ptr<GeonamesCity, CityFree> entry(geo.geonames_get_city(index));
    City city;
    if (!entry)
        return city;
    city.name = QString::fromUtf8(geo.geonames_city_get_name(entry.get()));
    city.region = QString::fromUtf8(geo.geonames_city_get_state(entry.get()));
    city.country = QString::fromUtf8(geo.geonames_city_get_country(entry.get()));
    city.countryCode = QString::fromUtf8(geo.geonames_city_get_country_code(entry.get()));
    city.latitude = geo.geonames_city_get_latitude(entry.get());
    city.longitude = geo.geonames_city_get_longitude(entry.get());
    city.population = geo.geonames_city_get_population(entry.get());
    const QString name = Fold(city.name);
    city.rank = name == foldedQuery ? 0 : name.startsWith(foldedQuery) ? 1 : 2;
    return city;
}

std::vector<City> Query(const QString& folded) {
    std::vector<City> cities;
    if (folded.isEmpty())
        return cities;
    const GeonamesLibrary* geo = Geonames();
    if (geo == nullptr)
        return cities;
    guint length = 0;
    const QByteArray utf8 = folded.toUtf8();
    std::unique_ptr<gint, GFree> indexes(geo->geonames_query_cities_sync(
        utf8.constData(), GEONAMES_QUERY_DEFAULT, &length, nullptr, nullptr));
    if (!indexes)
        return cities;
    cities.reserve(length);
    for (guint i = 0; i < length; ++i)
        cities.push_back(ReadCity(*geo, indexes.get()[i], folded));
    return cities;
}

bool InArea(const City& city, const QString& area) {
    return Fold(city.country).startsWith(area) || Fold(city.countryCode) == area ||
           Fold(city.region).startsWith(area);
}

} // namespace

QString FoldedQuery(const QString& query) {
    return Fold(query);
}

std::vector<PlaceResult> SearchCities(const QString& query, int limit) {
    const QString folded = Fold(query);
    std::vector<City> cities = Query(folded);
    // "Paris, France": the list knows no such name, so look for the city in that area.
    const int comma = static_cast<int>(folded.indexOf(QLatin1Char(',')));
    if (cities.empty() && comma > 0) {
        const QString name = folded.left(comma).trimmed();
        const QString area = folded.mid(comma + 1).trimmed();
        cities = Query(name);
        cities.erase(std::remove_if(cities.begin(), cities.end(),
                                    [&](const City& city) { return !InArea(city, area); }),
                     cities.end());
    }
    std::stable_sort(cities.begin(), cities.end(), [](const City& a, const City& b) {
        return a.rank != b.rank ? a.rank < b.rank : a.population > b.population;
    });
    std::vector<PlaceResult> results;
    const QLocale locale;
    for (const City& city : cities) {
        if (static_cast<int>(results.size()) >= limit)
            break;
        PlaceResult result;
        result.name = city.name;
        QStringList where;
        for (const QString& part : {city.region, city.country})
            if (!part.isEmpty() && !where.contains(part))
                where << part;
        result.detail = where.join(QStringLiteral(", "));
        if (city.population > 0)
            result.detail +=
                QStringLiteral(" \u00b7 %1 people").arg(locale.toString(city.population));
        result.latitude = city.latitude;
        result.longitude = city.longitude;
        result.zoom = 12;
        result.population = city.population;
        results.push_back(result);
    }
    return results;
}

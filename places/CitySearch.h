#pragma once

#include "places/PlaceResult.h"

#include <QString>

#include <vector>

// Searches the offline list of the world's cities (every place of 15,000 people or more),
// without a network. Accents and letter case in the query do not matter; names are matched
// as the list writes them (English names: "Munich", not "München"). "Paris, France" or
// "Paris, FR" keeps the places of that country or region. Best first: the whole name
// before names that begin with the query before the rest, larger places first within each.
std::vector<PlaceResult> SearchCities(const QString& query, int limit = 10);

// The query as the list is searched: accents taken off, blanks trimmed.
QString FoldedQuery(const QString& query);

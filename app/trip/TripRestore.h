#pragma once

struct TripSession;

// At start: a trip kept when Kartavo last ended without closing (a crash, a kill, a power
// cut) is offered back; a kept file that is damaged or not ours is set aside, with a
// message, and never half loaded.
void OfferTripBack();

// Lists the session's pictures again with their waiting positions, opens its tracks and
// matches as it did.
void BringTripBack(const TripSession& session);

// The program ends: with nothing waiting the kept trip goes; with positions still
// waiting (the session ended by a signal) it stays for the next start.
void EndTrip();

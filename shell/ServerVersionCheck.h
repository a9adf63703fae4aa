#pragma once

// The test made before every login request: the service must answer, and
// its protocol must be one this client speaks.

#include <cstdint>

class WebService;

// The newest protocol this client speaks.
inline constexpr int64_t cClientProtocolVersion = 1039;

// Asks for the service's versions (no reply: the connect alert, false),
// then its clock; a protocol above cClientProtocolVersion (or none in the
// reply) logs out and alerts "ProtocolVersionOld": false. True when the
// client may go on.
bool checkServerVersion(WebService& service);

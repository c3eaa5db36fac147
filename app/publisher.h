#pragma once
// The publisher's addresses that the wizard shows, links and records. The publisher's host
// lies in the reserved ".example" domain.

namespace app {

// Scheme and host, without a final "/".
inline constexpr char kPublisherHomePage[] = "http://www.software-zelmoric.example";

}  // namespace app

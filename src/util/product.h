#pragma once
// The product's names and the vendor's and the demonstration data's addresses, kept in one place.
// The vendor's hosts are placeholders under the reserved ".example" domain.

namespace tolva {

inline constexpr char kProductName[] = "Corvane Tolva Mail Server";
inline constexpr char kSetupVersion[] = "9.1.0";
// The maker as the system's program list shows it.
inline constexpr char kVendorName[] = "Corvane";
inline constexpr char kVendorWebAddress[] = "https://www.corvane.example/";

inline constexpr char kDefaultModuleCatalogueUrl[] =
    "https://download.corvane.example/download/modules/server.xml";
inline constexpr char kDefaultProductsCatalogueUrl[] =
    "https://www.corvane.example/products/corvaneproducts.xml";

inline constexpr char kVendorSetupMailbox[] = "setup@corvane.example";
inline constexpr char kVendorMailHost[] = "mail.corvane.example";

// The domain whose accounts the demonstration archive supplies (15 characters).
inline constexpr char kDemoDomain[] = "demo-mx.example";
inline constexpr char kDemoUserAddress[] = "user@demo-mx.example";
inline constexpr char kDemoAdminAddress[] = "admin@demo-mx.example";

}  // namespace tolva

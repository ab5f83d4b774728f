#pragma once

// The platform vendor's root certificate authority, PEM, built in as a code-signing anchor.
extern const char *const appleRootCertificatePEM;

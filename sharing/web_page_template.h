// SPDX-License-Identifier: MIT
#pragma once
// The web page's player: a whole page with its script and style, into which the show is put.

namespace sharing {

// The page; "/*SHOW*/null" in it stands for the show's data (a JavaScript object).
extern const char* const WebPageTemplate;

} // namespace sharing

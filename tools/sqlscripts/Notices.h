// The library's records (warnings, refusals, failures) as the host's lines, in the user's language: every
// line a job makes the host say is made here.
#pragma once

#include "scripts/JobNotice.h"

#include <string>

std::string NoticeLine(const TJobNotice& notice);

// Says each record in one line.
class SayNotices : public IJobObserver {
public:
    void OnNotice(const TJobNotice& notice) override;
};

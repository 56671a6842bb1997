#include "views/find_requests.h"

#include "docs/search_options.h"

FindRequest RequestFromDialog(const FindReplaceData& data, bool replaceDialog, SearchOptions& options)
{
    FindRequest request;
    request.find = options.search_patt = data.findWhat;
    request.replace = data.replaceWith;
    if (replaceDialog) {
        options.replace_patt = data.replaceWith;
        request.replacing = data.flags & (findflags::kReplace | findflags::kReplaceAll);
    }
    request.all = data.flags & findflags::kReplaceAll;
    options.down = (data.flags & findflags::kDown) ? 1 : 0;
    options.case_sensitive = (data.flags & findflags::kMatchCase) ? 1 : 0;
    options.whole_words = (data.flags & findflags::kWholeWord) ? 1 : 0;
    request.down = options.down != 0;
    request.match_case = options.case_sensitive != 0;
    request.whole_words = options.whole_words != 0;
    return request;
}

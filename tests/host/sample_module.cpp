// A module with one exported function, for the module loading tests.
extern "C" int QuorvelSampleAnswer(int question) { return question * 2 + 1; }

// The English edition. secondMessageOffset is fixed, so the wording of
// firstMessage has been fitted to the shipped font (res/bigFont.ttf at 60
// points): its width stays a little short of the offset, letting the second
// text follow a few hundred pixels behind instead of overlapping it or
// leaving more than a screen of black. Reword with the width test at hand.

#include "edition.h"

const Edition kEnglishEdition = {
    "             WARM GREETINGS TO THE KUMSAL PARTY 2007 ORGANISERS AND TO "
    "EVERY WONDERFUL PARTICIPANT DOWN HERE! GOOD MORNING! IT IS NOW HALF "
    "PAST FOUR ON THE SEVENTH OF JULY AND HERE COMES OUR REPORT FROM THE "
    "PARTY HALL: nokta SNORES UNDER HIS OWN DESK WITH A PIZZA BOX FOR A BED, "
    "zemberek WORKS ON HER 4K INTRO, kedi BREWS TEA FOR THE BACK ROW, gulgul "
    "HUMS TO HER OWN AMIGA, momo WAVES AT NOBODY AND bitbey COUNTS THE COMPO "
    "ENTRIES FOR THE FOURTH TIME!",
    "    CODE BY quillane, MUSIC BY pusula. THIS TEXT WAS TYPED BY A VERY "
    "TIRED MAN WITH A CUP OF COLD COFFEE. THE PLAN IS SIMPLE: WHEN THIS "
    "SCROLL ENDS I WILL CRAWL INTO MY SLEEPING BAG BEHIND THE BIG SCREEN AND "
    "SLEEP UNTIL THE PRIZEGIVING, OR AT LEAST UNTIL SOMEBODY STEPS ON ME. SO "
    "PLEASE, MY DEAR bitbey, PRESS ESCAPE NOW AND LET THE NEXT ENTRY COME "
    "ON! THANK YOU ALL FOR WATCHING, SEE YOU AT THE NEXT PARTY AND GOODBYE "
    "FROM ALL OF US HERE AT THE KUMSAL PARTY 2007!",
    80000,
    13500,
};

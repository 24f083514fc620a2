; sum.asm - adds up a table of numbers.
; Shows: a table in DC, an index register that walks through it,
; and a counted loop with CPA and JMI.
; The sum (15 + 27 - 4 + 100 + 62 = 200) is left in GR0 and in RESULT.
SUM	START
	LAD	GR0,0		; GR0 = running sum
	LAD	GR1,0		; GR1 = index of the next element
LOOP	ADDA	GR0,TABLE,GR1	; add TABLE(GR1)
	LAD	GR1,1,GR1	; step to the next element
	CPA	GR1,COUNT	; all elements added?
	JMI	LOOP		; not yet: GR1 < COUNT
	ST	GR0,RESULT
	RET
TABLE	DC	15,27,-4,100,62
COUNT	DC	5		; number of elements in TABLE
RESULT	DS	1
	END
